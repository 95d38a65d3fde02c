#include "movieflow.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include "core/keys.h"
#include "core/play.h"
#include "movies/player.h"
#include "movies/solved.h"

namespace quarbel::testing {

namespace {

KeyCode keyOf(char letter) {
    switch (letter) {
        case 'L':
            return KeyLeft;
        case 'U':
            return KeyUp;
        case 'R':
            return KeyRight;
        case 'D':
            return KeyDown;
        case 'B':
            return KeyBack;
        case 'E':
            return KeyReturn;
        default:
            ADD_FAILURE() << "no key for " << letter;
            return KeyNone;
    }
}

}  // namespace

Level twoCratesLevel() {
    return levelFromRows({
        "#########",
        "#@  $  .#",
        "#   #   #",
        "# $     #",
        "#.      #",
        "#########",
    });
}

void enterLevelSeven(const ScratchFolder& folder, GameState& s, FakeFrontend& fake) {
    folder.writePack("PACK1.dat", "Movies", std::vector<Level>(8, twoCratesLevel()));
    fake.chooserAnswers.push_back("PACK1.dat");
    fake.onCheckSolved = [&s, &fake] { CheckSolved(s, fake); };
    fake.onLoadClick = [&s, &fake] { LoadClick(s, fake); };
    fake.setCaption(Control::levelnummer, "7");
    fake.setCaption(Control::levelnummer2, "7");
    enterGame(s, fake, true);
}

void pressKeys(GameState& s, Frontend& ui, std::string_view keys, Sender sender) {
    for (char letter : keys)
        FormKeyDown(s, ui, sender, keyOf(letter));
}

MovieFlow::MovieFlow() {
    enterLevelSeven(folder, s, fake);
}

void MovieFlow::press(std::string_view keys, Sender sender) {
    pressKeys(s, fake, keys, sender);
}

void MovieFlow::showLevel(const std::string& number) {
    fake.setCaption(Control::levelnummer, number);
    fake.setCaption(Control::levelnummer2, number);
}

void MovieFlow::storeMovie(const std::string& digits) const {
    std::filesystem::create_directory(folder.path() / "PACK1");
    folder.writeFile(TheMovie, digits);
}

int MovieFlow::dialogs() const {
    return static_cast<int>(std::count_if(fake.log.begin(), fake.log.end(), [](const auto& call) {
        return call.starts_with("askSaveMovie");
    }));
}

}  // namespace quarbel::testing
