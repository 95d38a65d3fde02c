// What the game asks of its window. The real window implements it with widgets;
// the tests implement it with a recording fake.
#pragma once

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
    // Images and the hidden focus holder.
    zeichenflaeche,
    titelflaeche,
    titel2,
    controller,
    Count
};

enum class Timer { zeittime, focusset, movietimer, zwinkern, startanim, mousetimer, Count };

// Who reported a key or a press. Only the main window stands for the real keyboard.
enum class Sender {
    MainWindow,
    zeichenflaeche,
    titelflaeche,
    mousetimer,
    movietimer,
    movie,
    game,
    mplay,
    mstop,
    mbacktostart,
    mback,
    mforward,
    m10back,
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

    // Hand-over points that the layers above the core implement.
    virtual void drawBoard(bool full, bool eyesOpen) = 0;
    virtual void CheckSolved() = 0;
    virtual void LoadClick() = 0;

    virtual SoundPlayer& soundplayer() = 0;
};

}  // namespace quarbel
