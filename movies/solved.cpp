#include "movies/solved.h"

#include <filesystem>
#include <optional>
#include <span>

#include "core/gameerror.h"
#include "movies/moviefile.h"

namespace quarbel {

namespace {

void playDoneSound(GameState& s, Frontend& ui) {
    SoundPlayer& player = ui.soundplayer();
    player.setFileName("done.wav");
    if (player.open() && player.play()) s.undoSoundOpen = false;
}

void endLevel(GameState& s, Frontend& ui) {
    ui.setTimerEnabled(Timer::zeittime, false);
    s.historyTop = 0;
    s.levelActive = false;
}

}  // namespace

std::string OldMovieSteps(const GameState& s) {
    const auto movie = storedMovieName(s.packName, s.startedLevel);
    return std::to_string(movie ? movieFileSize(*movie) : 0);
}

void SaveMovie(const GameState& s) {
    const auto movie = storedMovieName(s.packName, s.startedLevel);
    if (!movie) {
        throw GameError("The movie was not saved: the name of the level pack \"" + s.packFileName +
                        "\" cannot name a movie folder.");
    }
    // The folder usually exists already; creating the file decides whether the save works.
    std::error_code ignored;
    std::filesystem::create_directory(std::filesystem::path(*movie).parent_path(), ignored);
    writeMovieFile(*movie, std::span(s.history.data(), static_cast<std::size_t>(s.historyTop)));
}

void CheckSolved(GameState& s, Frontend& ui) {
    if (!levelSolved(s.board)) return;
    if (s.movieMode) {
        s.levelActive = false;
        s.autoPlay = false;
        ui.setTimerEnabled(Timer::movietimer, false);
        return;
    }

    // A held mouse button must not walk or take steps back behind the dialog.
    ui.setTimerEnabled(Timer::mousetimer, false);
    playDoneSound(s, ui);
    const std::string oldSteps = OldMovieSteps(s);
    const std::string steps = std::to_string(s.historyTop);
    std::optional<std::string> saveError;
    if (ui.askSaveMovie(s.startedLevel, steps, oldSteps)) {
        try {
            SaveMovie(s);
        } catch (const GameError& error) {
            saveError = error.what();
        }
    }
    // The player has seen the level solved: it ends whether or not the movie was stored.
    endLevel(s, ui);
    if (saveError) ui.reportError(*saveError);
}

}  // namespace quarbel
