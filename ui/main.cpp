// QUARBEL 98: creates the window with its dialogs and runs until the window closes.
#include <malloc.h>
#include <QApplication>
#include <memory>

#include "ui/pakkor.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/help.h"
#include "ui/platform/sound.h"
#include "ui/platform/typefaces.h"

int main(int argc, char* argv[]) {
    // Pictures and drawing buffers get pages of their own, given back when freed: in the heap
    // they would leave holes that keep the game's memory at its peak for good.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    QApplication app(argc, argv);
    QApplication::setApplicationName(quarbel::ApplicationTitle);
    quarbel::showOnlyTheGamesFonts(QApplication::font().families());

    quarbel::WaveSoundPlayer sound(QCoreApplication::applicationDirPath().toStdString());
    quarbel::HelpWindow help;
    quarbel::DesktopShell shell;
    quarbel::MessageBoxReport errors;
    quarbel::Platform platform{sound, help, shell, errors};

    std::unique_ptr<quarbel::Tpakkor> window;
    try {
        window = std::make_unique<quarbel::Tpakkor>(platform);
    } catch (const std::exception& error) {
        // Without its pictures the game cannot be played.
        errors.showError(error.what());
        return 1;
    }
    errors.setParent(window.get());
    help.setGame(window.get());
    window->show();
    window->activateWindow();
    return app.exec();
}
