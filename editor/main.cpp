// quarbel-editor [FILE]: the level editor, with a pack or text collection or a new pack.
#include <QApplication>
#include <QCommandLineParser>

#include "editor/editorwindow.h"
#include "ui/render/images.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName("quarbel98");
    QApplication::setApplicationName("quarbel-editor");
    QApplication::setApplicationDisplayName("QUARBEL 98 Level Editor");

    QCommandLineParser parser;
    parser.setApplicationDescription("Makes and changes QUARBEL 98 level packs.");
    parser.addHelpOption();
    parser.addPositionalArgument("file", "A level pack (.dat) or a text collection to open.",
                                 "[FILE]");
    parser.process(application);

    const QStringList pictureFolders = quarbel::editor::EditorWindow::standardPictureFolders();
    for (const QString& folder : pictureFolders) {
        const QImage icon(folder + "/quarbel.png");
        if (icon.isNull()) continue;
        QApplication::setWindowIcon(quarbel::iconOfAllSizes(icon));
        break;
    }
    quarbel::editor::EditorWindow window(pictureFolders);
    window.show();
    if (!parser.positionalArguments().isEmpty()) window.openFile(parser.positionalArguments()[0]);
    return application.exec();
}
