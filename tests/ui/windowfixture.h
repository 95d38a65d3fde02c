// The real main window, offscreen, in a scratch folder with plain pictures and small packs,
// and recorders in place of the desktop's sound, help, shell and error report.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/fakefrontend.h"
#include "support/packbuilder.h"
#include "ui/pakkor.h"

namespace quarbel::testing {

struct RecordingHelp : HelpViewer {
    void showTopic(int topic) override { topics.push_back(topic); }
    std::vector<int> topics;
};

struct RecordingShell : Shell {
    void openUrl(const std::string& address) override { addresses.push_back(address); }
    std::vector<std::string> addresses;
};

// The two result lines of a solved dialog as it was shown.
struct SolvedDialogLines {
    std::string result;       // geschafft
    std::string oldSolution;  // geschafft2
};

struct RecordingErrors : ErrorReport {
    void showError(std::string_view text) override { texts.emplace_back(text); }
    std::vector<std::string> texts;
};

// Writes plain pictures of the sizes the game expects into the working folder.
void writePlainPictures();

class WindowTest : public ::testing::Test {
  protected:
    WindowTest();
    ~WindowTest() override;

    // Creates and shows the window; the pictures and packs are in place by then.
    void openWindow();
    // Presses a key where the keyboard focus is, as a player would.
    void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Answers the next pack chooser by choosing the entry at `row` (or closing it unanswered
    // with row -1) as soon as it shows.
    void chooseWhenAsked(int row);
    // Answers the next solved dialog with Yes or No as soon as it shows, and keeps its two
    // result lines in solvedDialogs.
    void answerSolvedDialog(bool yes);
    // Clicks a caption or picture button of the window.
    void click(Control control);
    // Lets the event loop run for a while, timers included.
    void wait(int milliseconds);
    void enterFirstPack();

    std::string caption(Control control) { return window->caption(control); }
    GameState& state() { return window->state(); }

    ScratchFolder folder;
    FakeSoundPlayer sound;
    RecordingHelp help;
    RecordingShell shell;
    RecordingErrors errors;
    Platform platform{sound, help, shell, errors};
    std::unique_ptr<Tpakkor> window;
    int dialogsAnswered = 0;
    // Where each answered dialog stood, frame included, and the screen it was on.
    std::vector<std::pair<QRect, QRect>> dialogPlaces;
    std::vector<SolvedDialogLines> solvedDialogs;

    // Calls `answer` with the modal dialog shown until it returns true.
    void whenModalShows(std::function<bool(QWidget*)> answer);

  private:
    std::vector<QTimer*> watchers_;
};

}  // namespace quarbel::testing
