// What the game asks of its window. The real window implements it with widgets;
// the tests implement it with a recording fake.
#pragma once

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

namespace quarbel {

// The window's controls, by their design names.
enum class Control {
    // Game panel (right margin).
    playtitel,
    plusplus,
    plus,
    levelnummer,
    minusminus,
    minus,
    start,
    Undobutton,
    movie,
    help,
    steps,
    stepsview,
    time1,
    timeview,
    autor,
    autorname,
    // Movie panel (left margin).
    movietitel,
    plusplus2,
    plus2,
    levelnummer2,
    minusminus2,
    minus2,
    load,
    game,
    helpmovie,
    mplay,
    mbacktostart,
    mstop,
    mback,
    mforward,
    m10back,
    m10forward,
    msteps,
    mstepsview,
    // Images and the hidden focus holder: zeichenflaeche is the board image, titelflaeche the
    // title picture, titel2 the side strip, controller the control that keeps the keyboard
    // focus out of sight.
    zeichenflaeche,
    titelflaeche,
    titel2,
    controller,
    Count
};

// The game panel, right of the board: shown when the title screen gives way, and in play.
inline constexpr Control GamePanel[] = {
    Control::playtitel,  Control::plusplus, Control::plus,  Control::levelnummer,
    Control::minusminus, Control::minus,    Control::start, Control::Undobutton,
    Control::movie,      Control::help,     Control::steps, Control::stepsview,
    Control::time1,      Control::timeview, Control::autor, Control::autorname,
};

// The movie panel, left of the board: shown instead of the game panel in movie mode.
inline constexpr Control MoviePanel[] = {
    Control::movietitel,  Control::plusplus2,  Control::plus2,        Control::levelnummer2,
    Control::minusminus2, Control::minus2,     Control::load,         Control::game,
    Control::helpmovie,   Control::mplay,      Control::mbacktostart, Control::mstop,
    Control::mback,       Control::mforward,   Control::m10back,      Control::m10forward,
    Control::msteps,      Control::mstepsview,
};

// The movie panel's picture buttons, which replay a loaded movie; enabled only while one is.
inline constexpr Control PlayerButtons[] = {
    Control::mplay,    Control::mbacktostart, Control::mstop,      Control::mback,
    Control::mforward, Control::m10back,      Control::m10forward,
};

constexpr bool inMoviePanel(Control control) {
    return std::find(std::begin(MoviePanel), std::end(MoviePanel), control) != std::end(MoviePanel);
}

// zeittime: the level clock. focusset: gives the focus back to the hidden focus holder.
// movietimer: the automatic replay. zwinkern: the keeper's blink. startanim: the title band's
// slide. mousetimer: the repeat of a held mouse button.
enum class Timer { zeittime, focusset, movietimer, zwinkern, startanim, mousetimer, Count };

// Each timer's interval in milliseconds when the window is made; only the replay changes its
// own later.
constexpr int designInterval(Timer timer) {
    switch (timer) {
        case Timer::zeittime:
        case Timer::zwinkern:
            return 1000;
        case Timer::focusset:
        case Timer::movietimer:
            return 200;
        case Timer::startanim:
            return 1;
        case Timer::mousetimer:
            return 50;
        case Timer::Count:
            break;
    }
    return 0;
}

// Who reported a key or a press. Only the main window stands for the real keyboard: in movie
// mode its Enter loads the movie, while the replay's keys (from the step buttons and the
// replay timer) step the keeper. A left press walks only on the board image or as a tick of
// the mouse repeat; MOVIE and GAME tell the mode switch which way it goes.
enum class Sender {
    MainWindow,
    zeichenflaeche,
    titelflaeche,
    mousetimer,
    movietimer,
    movie,
    game,
    mforward,
    m10forward,
};

// The window's one wave player. Every operation reports whether it worked; the game
// ignores failures where it says so.
class SoundPlayer {
  public:
    virtual ~SoundPlayer() = default;
    virtual bool setFileName(std::string_view fileName) = 0;
    virtual bool open() = 0;  // closes what was open, opens the named file
    virtual bool isPlaying() = 0;
    virtual bool play() = 0;  // from the start when the sound had played to its end
};

class Frontend {
  public:
    virtual ~Frontend() = default;

    virtual std::string caption(Control control) const = 0;
    virtual void setCaption(Control control, std::string_view text) = 0;
    virtual bool isVisible(Control control) const = 0;
    virtual void setVisible(Control control, bool visible) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;

    // Enabling a running timer leaves it running; it is not restarted.
    virtual bool timerEnabled(Timer timer) const = 0;
    virtual void setTimerEnabled(Timer timer, bool enabled) = 0;
    virtual int timerInterval(Timer timer) const = 0;
    virtual void setTimerInterval(Timer timer, int milliseconds) = 0;

    virtual void setWindowCaption(std::string_view text) = 0;
    virtual void setBoardCrossCursor() = 0;
    virtual void focusController() = 0;
    // Puts the side strip into the right margin (movie mode) or the left one.
    virtual void placeSideStrip(bool rightMargin) = 0;
    // Side of the square board image in pixels.
    virtual int boardSide() const = 0;

    // The chooser, shown modally: the chosen pack file's name, or nothing.
    virtual std::optional<std::string> choosePackFile() = 0;
    // The solved dialog, shown modally: true when the player wants the movie saved.
    virtual bool askSaveMovie(std::string_view level, std::string_view steps,
                              std::string_view oldSteps) = 0;

    // Shows an error to the player once the handler now running has finished; the handler
    // itself goes on. For errors a handler deals with itself (a movie that could not be
    // saved); every other error ends its handler as a GameError.
    virtual void reportError(std::string_view text) = 0;

    // Hand-over points that the layers above the core implement.
    virtual void drawBoard(bool full, bool eyesOpen) = 0;
    virtual void CheckSolved() = 0;
    virtual void LoadClick() = 0;

    virtual SoundPlayer& soundplayer() = 0;
};

}  // namespace quarbel
