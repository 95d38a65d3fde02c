// A bare Qt window covering the screen, as the game's window does, to compare the game's peak
// memory with what Qt alone takes (bench/peak_memory.sh runs them side by side). Built twice:
// `bare_window` is the window alone, `bare_window_sound` also creates one Qt sound effect, and
// links Qt Multimedia for it, as a game that plays sounds must.
#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <memory>

#ifdef WITH_SOUND_EFFECT
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#endif

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("bare window");
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);
    window.setGeometry(window.screen()->geometry());
#ifdef WITH_SOUND_EFFECT
    const auto effect = std::make_unique<QSoundEffect>(QMediaDevices::defaultAudioOutput());
#endif
    window.show();
    return app.exec();
}
