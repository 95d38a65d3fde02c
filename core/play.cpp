#include "core/play.h"

#include <charconv>

#include "core/engine.h"
#include "core/filefinder.h"
#include "core/gameerror.h"
#include "core/level.h"
#include "core/levelpack.h"

namespace quarbel {

namespace {

std::string twoDigits(int value) {
    std::string text = std::to_string(value);
    if (text.size() < 2) text.insert(text.begin(), '0');
    return text;
}

}  // namespace

int shownLevelNumber(const Frontend& ui) {
    const std::string text = ui.caption(Control::levelnummer);
    int number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

void choosePack(GameState& s, Frontend& ui) {
    if (auto chosen = ui.choosePackFile()) s.packFileName = *chosen;
    // The chooser closes without a choice only when it lists no pack.
    if (s.packFileName.empty()) throw GameError("No level pack (*.dat) was found.");
    const PackHeader header = readPackHeader(findName(s.packFileName));
    // A pack without levels has no record to play; the game goes on with what it had.
    if (header.levelCount == 0) {
        throw GameError("The level pack \"" + s.packFileName + "\" holds no levels.");
    }
    s.levelCount = header.levelCount;
    s.packTitle = header.title;
    s.packName = stripExtension(s.packFileName);
}

void loadLevel(GameState& s, Frontend& ui) {
    // The chosen file is the pack file whatever the case of its extension, even beside
    // another file whose name differs from it only in letter case.
    const std::string packFile = s.packName + ".dat";
    const LevelRecord record = readLevelRecord(
        findName(sameIgnoringCase(s.packFileName, packFile) ? s.packFileName : packFile),
        shownLevelNumber(ui));
    placeLevel(s, record.level);
    ui.setCaption(Control::autorname, record.hasAuthor ? record.level.author : DefaultAuthor);
}

void StartClick(GameState& s, Frontend& ui) {
    if (!ui.isVisible(Control::titel2)) ui.setVisible(Control::titel2, true);
    ui.setTimerEnabled(Timer::zwinkern, true);
    // Taken once the level is loaded: when the load fails, the level on the board keeps its
    // number, and a solution of it is stored as its own movie.
    loadLevel(s, ui);
    s.startedLevel = ui.caption(Control::levelnummer);
    ui.drawBoard(true, true);
    s.elapsedSeconds = 0;
    ui.setCaption(Control::timeview, "00:00:00");
    ui.setTimerEnabled(Timer::zeittime, true);
    s.historyTop = 0;
    s.moviePos = 0;
    ui.setCaption(Control::stepsview, "0");
    ui.setCaption(Control::mstepsview, "0");
    ui.focusController();
    s.levelActive = true;
}

void changeLevelNumber(GameState& s, Frontend& ui, int delta) {
    const int wanted = shownLevelNumber(ui) + delta;
    const int number = wanted >= 1 && wanted <= s.levelCount ? wanted
                       : wanted > s.levelCount               ? s.levelCount
                                                             : 1;
    const std::string text = std::to_string(number);
    ui.setCaption(Control::levelnummer, text);
    ui.setCaption(Control::levelnummer2, text);
}

void plusClick(GameState& s, Frontend& ui) {
    changeLevelNumber(s, ui, 1);
}
void minusClick(GameState& s, Frontend& ui) {
    changeLevelNumber(s, ui, -1);
}
void plusplusClick(GameState& s, Frontend& ui) {
    changeLevelNumber(s, ui, 10);
}
void minusminusClick(GameState& s, Frontend& ui) {
    changeLevelNumber(s, ui, -10);
}

void enterGame(GameState& s, Frontend& ui, bool showControls) {
    ui.setBoardCrossCursor();
    s.titleBandOffset = 0;
    choosePack(s, ui);
    ui.setWindowCaption("QUARBEL 98 - " + s.packTitle);
    s.titleShowing = false;
    if (showControls) {
        for (Control control : GamePanel)
            ui.setVisible(control, true);
        ui.setVisible(Control::titel2, true);
    }
    StartClick(s, ui);
}

void playtitelClick(GameState& s, Frontend& ui) {
    enterGame(s, ui, false);
    ui.setCaption(Control::levelnummer, "1");
    ui.setCaption(Control::levelnummer2, "1");
    StartClick(s, ui);
}

void FormKeyDown(GameState& s, Frontend& ui, Sender sender, KeyCode key) {
    if (s.titleShowing) {
        enterGame(s, ui, true);
    }
    if (s.movieMode && sender == Sender::MainWindow) {
        if (key == KeyReturn) ui.LoadClick();
    } else {
        switch (key) {
            case KeyLeft:
            case KeyUp:
            case KeyRight:
            case KeyDown:
                if (s.levelActive) stepKeeper(s, ui, key);
                break;
            case KeyBack:
                if (s.levelActive) UndoButtonClick(s, ui);
                break;
            case KeyReturn:
                StartClick(s, ui);
                break;
            default:
                break;
        }
    }
    if (key == KeyAdd) plusClick(s, ui);
    if (key == KeySubtract) minusClick(s, ui);
}

void zeittimeTimer(GameState& s, Frontend& ui) {
    if (!s.levelActive) return;
    ++s.elapsedSeconds;
    ui.setCaption(Control::timeview, clockText(s.elapsedSeconds));
}

std::string clockText(int seconds) {
    return twoDigits(seconds / 3600) + ":" + twoDigits(seconds % 3600 / 60) + ":" +
           twoDigits(seconds % 60);
}

}  // namespace quarbel
