// quarbel-editor [FILE]: the level editor, with a pack or text collection or a new pack.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "editor/editorwindow.h"
#include "tools/commandline.h"
#include "ui/render/images.h"
#include "ui/render/picturefiles.h"

namespace {

const char* const Usage =
    "Usage: quarbel-editor [FILE]\n"
    "Makes and changes QUARBEL 98 level packs. FILE is a level pack (.dat) or a\n"
    "text collection to open; without it the editor starts a new pack.\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before the window system is reached, so that no display is needed.
    if (const auto answer = quarbel::helpOrVersion(std::vector<std::string>(argv + 1, argv + argc),
                                                   "quarbel-editor", Usage)) {
        std::cout << *answer;
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setOrganizationName("quarbel98");
    QApplication::setApplicationName("quarbel-editor");
    QApplication::setApplicationDisplayName("QUARBEL 98 Level Editor");

    // What is left once Qt has taken its own options.
    const QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.size() > 1 || (!arguments.isEmpty() && arguments[0].startsWith('-'))) {
        std::cerr << "quarbel-editor: unknown arguments\n" << Usage;
        return 1;
    }

    const QStringList pictureFolders = quarbel::editor::EditorWindow::standardPictureFolders();
    for (const QString& folder : pictureFolders) {
        const QImage icon(folder + "/" + quarbel::WindowIconFile);
        if (icon.isNull()) continue;
        QApplication::setWindowIcon(quarbel::iconOfAllSizes(icon));
        break;
    }
    quarbel::editor::EditorWindow window(pictureFolders);
    window.show();
    if (!arguments.isEmpty()) window.openFile(arguments[0]);
    return application.exec();
}
