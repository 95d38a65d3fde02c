// quarbel-editor [FILE]: the level editor, with a pack or text collection or a new pack.
#include <QApplication>
#include <QCommandLineParser>

#include "editor/editorwindow.h"

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

    quarbel::editor::EditorWindow window(quarbel::editor::EditorWindow::standardPictureFolders());
    window.show();
    if (!parser.positionalArguments().isEmpty()) window.openFile(parser.positionalArguments()[0]);
    return application.exec();
}
