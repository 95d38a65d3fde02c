// Starts the game's window in the game's folder, paints its first title frame and ends:
// time the whole process to see the start-up a player waits for.
//
//   (cd build/game && time ../bench/firstframe)
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <cstdio>

#include "ui/pakkor.h"
#include "ui/platform/errorreport.h"
#include "ui/platform/help.h"
#include "ui/platform/sound.h"
#include "ui/platform/typefaces.h"

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    quarbel::showOnlyTheGamesFonts(QApplication::font().families());
    quarbel::WaveSoundPlayer sound(QCoreApplication::applicationDirPath().toStdString());
    quarbel::HelpWindow help;
    quarbel::DesktopShell shell;
    quarbel::MessageBoxReport errors;
    quarbel::Platform platform{sound, help, shell, errors};
    quarbel::Tpakkor window(platform);
    window.show();
    const QImage frame = window.grab().toImage();
    std::printf("first title frame %dx%d painted %lld ms after the application started\n",
                frame.width(), frame.height(), static_cast<long long>(clock.elapsed()));
    return frame.isNull() ? 1 : 0;
}
