#include "movies/player.h"

#include <algorithm>
#include <span>

#include "core/engine.h"
#include "core/play.h"
#include "movies/moviefile.h"
#include "movies/solved.h"

namespace quarbel {

namespace {

constexpr int StepsPerJump = 10;

void enablePlayerButtons(Frontend& ui, bool enabled) {
    for (Control button : PlayerButtons)
        ui.setEnabled(button, enabled);
}

}  // namespace

void MovieClick(GameState& s, Frontend& ui, Sender sender) {
    if (sender == Sender::movie) {
        s.levelActive = false;
    } else {
        s.autoPlay = false;
        // A partly replayed movie can be played on; a level already solved on the board
        // stays ended, however it got there.
        s.levelActive = (s.moviePos < 1 || s.moviePos < s.movieLength) && !levelSolved(s.board);
    }
    ui.placeSideStrip(!s.movieMode);
    for (const auto& panel :
         {std::span<const Control>(GamePanel), std::span<const Control>(MoviePanel)}) {
        for (Control control : panel)
            ui.setVisible(control, !ui.isVisible(control));
    }
    enablePlayerButtons(ui, false);
    ui.setTimerEnabled(Timer::focusset, !ui.timerEnabled(Timer::focusset));
    ui.focusController();
    s.movieMode = !s.movieMode;
}

void LoadClick(GameState& s, Frontend& ui) {
    s.autoPlay = false;
    // Read into a buffer first, and taken over once the level is on the board: a read error
    // or a level that cannot be loaded leaves the history, and with it the moves that undo
    // would take back, untouched.
    const auto movie = storedMovieName(s.packName, ui.caption(Control::levelnummer));
    const auto codes = movie ? readMovieFile(*movie, HistoryCapacity) : std::nullopt;
    StartClick(s, ui);
    enablePlayerButtons(ui, codes.has_value());
    if (codes) {
        std::copy(codes->begin(), codes->end(), s.history.begin());
        s.movieLength = static_cast<std::int32_t>(codes->size());
    }
}

void mforward2Click(GameState& s, Frontend& ui, Sender sender) {
    if (s.moviePos + 1 > s.movieLength) return;
    const int code = s.history[s.moviePos];
    ++s.moviePos;
    s.levelActive = true;
    FormKeyDown(s, ui, sender, keyForCode(code));
    s.levelActive = false;
}

void m10forward2Click(GameState& s, Frontend& ui, Sender sender) {
    for (int i = 0; i < StepsPerJump; ++i)
        mforward2Click(s, ui, sender);
}

void mback2Click(GameState& s, Frontend& ui) {
    // moviePos indexes the history, so it never goes below the first step.
    if (s.historyTop != 0 && s.moviePos > 0) --s.moviePos;
    s.levelActive = true;
    undoMove(s, ui);
    s.levelActive = false;
}

void m10back2Click(GameState& s, Frontend& ui) {
    for (int i = 0; i < StepsPerJump; ++i)
        mback2Click(s, ui);
}

void mbacktostart2Click(GameState& s, Frontend& ui) {
    // StartClick sets historyTop and moviePos to 0 once the level is loaded again.
    StartClick(s, ui);
    s.autoPlay = false;
}

void mplay2Click(GameState& s, Frontend& ui) {
    const int interval = ui.timerInterval(Timer::movietimer);
    if (ui.timerEnabled(Timer::movietimer) && interval > MovieTimerSpeedUp) {
        ui.setTimerInterval(Timer::movietimer, interval - MovieTimerSpeedUp);
    }
    if (!ui.timerEnabled(Timer::movietimer)) {
        ui.setTimerInterval(Timer::movietimer, MovieTimerStartInterval);
        ui.setTimerEnabled(Timer::movietimer, true);
    }
    s.autoPlay = true;
}

void mstop2Click(GameState& s, Frontend& ui) {
    s.autoPlay = false;
    ui.setTimerEnabled(Timer::movietimer, false);
}

void movietimerTimer(GameState& s, Frontend& ui) {
    if (s.autoPlay) {
        mforward2Click(s, ui, Sender::movietimer);
    } else {
        ui.setTimerEnabled(Timer::movietimer, false);
    }
}

}  // namespace quarbel
