// The wave player: the sound module, and Qt Multimedia with it, is loaded at the first sound and
// not before; without the module every sound is silent.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ui/platform/sound.h"

namespace quarbel::testing {
namespace {

bool multimediaLoaded() {
    std::ifstream maps("/proc/self/maps");
    std::stringstream text;
    text << maps.rdbuf();
    return text.str().find("libQt6Multimedia") != std::string::npos;
}

TEST(WaveSoundPlayer, LoadsQtMultimediaOnlyForTheFirstSound) {
    ASSERT_FALSE(multimediaLoaded());  // the game's libraries do not link it
    WaveSoundPlayer player(QUARBEL_GAME_DIR);
    player.setFileName(QUARBEL_GAME_DIR "/undo.wav");
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(multimediaLoaded());

    player.open();  // plays or not, as the machine's audio output allows

    EXPECT_TRUE(multimediaLoaded());
}

TEST(WaveSoundPlayer, WithoutTheSoundModuleEverySoundIsSilent) {
    WaveSoundPlayer player(QUARBEL_GAME_DIR "/no-such-folder");
    player.setFileName(QUARBEL_GAME_DIR "/undo.wav");

    EXPECT_FALSE(player.open());
    EXPECT_FALSE(player.play());
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(player.open());  // not looked for again, still silent
}

}  // namespace
}  // namespace quarbel::testing
