#include "fakefrontend.h"

#include <algorithm>

namespace quarbel::testing {

bool FakeSoundPlayer::setFileName(std::string_view name) {
    fileName = name;
    return true;
}

bool FakeSoundPlayer::open() {
    calls.push_back("open " + fileName);
    return !openFails;
}

bool FakeSoundPlayer::isPlaying() {
    return playing;
}

bool FakeSoundPlayer::play() {
    calls.push_back("play " + fileName);
    return !playFails;
}

FakeFrontend::FakeFrontend() {
    enabledFlags.fill(true);
    // The window's design values that the game reads back.
    captions[index(Control::levelnummer)] = "1";
    captions[index(Control::levelnummer2)] = "1";
    for (std::size_t t = 0; t < intervals.size(); ++t)
        intervals[t] = designInterval(static_cast<Timer>(t));
    timerFlags[index(Timer::focusset)] = true;
    timerFlags[index(Timer::startanim)] = true;
}

std::string FakeFrontend::caption(Control control) const {
    return captions[index(control)];
}

void FakeFrontend::setCaption(Control control, std::string_view text) {
    captions[index(control)] = text;
}

bool FakeFrontend::isVisible(Control control) const {
    return visibleFlags[index(control)];
}

void FakeFrontend::setVisible(Control control, bool visible) {
    visibleFlags[index(control)] = visible;
}

void FakeFrontend::setEnabled(Control control, bool enabled) {
    enabledFlags[index(control)] = enabled;
}

bool FakeFrontend::timerEnabled(Timer timer) const {
    return timerFlags[index(timer)];
}

void FakeFrontend::setTimerEnabled(Timer timer, bool enabled) {
    timerFlags[index(timer)] = enabled;
}

int FakeFrontend::timerInterval(Timer timer) const {
    return intervals[index(timer)];
}

void FakeFrontend::setTimerInterval(Timer timer, int milliseconds) {
    intervals[index(timer)] = milliseconds;
}

void FakeFrontend::setWindowCaption(std::string_view text) {
    windowCaption = text;
}

void FakeFrontend::setBoardCrossCursor() {
    log.push_back("crossCursor");
}

void FakeFrontend::focusController() {
    log.push_back("focusController");
}

void FakeFrontend::placeSideStrip(bool rightMargin) {
    sideStripRight = rightMargin;
}

std::optional<std::string> FakeFrontend::choosePackFile() {
    log.push_back("chooser");
    if (chooserAnswers.empty()) return std::nullopt;
    auto answer = chooserAnswers.front();
    chooserAnswers.pop_front();
    return answer;
}

bool FakeFrontend::askSaveMovie(std::string_view level, std::string_view steps,
                                std::string_view oldSteps) {
    log.push_back("askSaveMovie(" + std::string(level) + "," + std::string(steps) + "," +
                  std::string(oldSteps) + ")");
    return saveAnswer;
}

void FakeFrontend::drawBoard(bool full, bool eyesOpen) {
    log.push_back(std::string("drawBoard(") + (full ? "true" : "false") + "," +
                  (eyesOpen ? "true" : "false") + ")");
}

void FakeFrontend::CheckSolved() {
    log.push_back("CheckSolved");
    if (onCheckSolved) onCheckSolved();
}

void FakeFrontend::LoadClick() {
    log.push_back("LoadClick");
    if (onLoadClick) onLoadClick();
}

int FakeFrontend::count(const std::string& call) const {
    return static_cast<int>(std::count(log.begin(), log.end(), call));
}

}  // namespace quarbel::testing
