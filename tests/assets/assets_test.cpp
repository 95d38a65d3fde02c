// Checks the pictures, sounds and help that the build puts into the game folder: the tile
// sheet's layout and mask rules, the sizes the window layout relies on, and playable sounds.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "core/engine.h"
#include "core/keys.h"
#include "core/nullfrontend.h"
#include "support/packbuilder.h"
#include "ui/layout.h"
#include "ui/render/renderer.h"
#include "ui/render/tilesheet.h"

namespace {

const QString kGameDir = QStringLiteral(QUARBEL_GAME_DIR);

QImage loadPicture(const char* name) {
    QImage picture(kGameDir + "/" + name);
    return picture.convertToFormat(QImage::Format_RGB32);
}

QByteArray loadFile(const char* name) {
    QFile file(kGameDir + "/" + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

using quarbel::TileSide;

struct NamedTile {
    const char* name;
    quarbel::SheetTile place;
};

const std::vector<NamedTile> kTiles = {
    {"keeper up", quarbel::KeeperTile(1)},
    {"keeper left", quarbel::KeeperTile(2)},
    {"keeper down", quarbel::KeeperTile(3)},
    {"keeper right", quarbel::KeeperTile(4)},
    {"target", quarbel::TargetTile},
    {"wall", quarbel::WallTile},
    {"crate", quarbel::CrateTile},
    {"crate on target", quarbel::CrateOnTargetTile},
    {"blinking up", quarbel::KeeperBlinkTile(1)},
    {"blinking left", quarbel::KeeperBlinkTile(2)},
    {"blinking down", quarbel::KeeperBlinkTile(3)},
    {"blinking right", quarbel::KeeperBlinkTile(4)},
};

QRgb imagePixel(const QImage& sheet, const NamedTile& tile, int x, int y) {
    return sheet.pixel(tile.place.left() + x, tile.place.imageTop() + y) & 0xffffffu;
}

QRgb maskPixel(const QImage& sheet, const NamedTile& tile, int x, int y) {
    return sheet.pixel(tile.place.left() + x, tile.place.maskTop() + y) & 0xffffffu;
}

constexpr QRgb kBlack = 0x000000u;
constexpr QRgb kWhite = 0xffffffu;

int differingPixels(const QImage& sheet, const NamedTile& a, const NamedTile& b) {
    int count = 0;
    for (int y = 0; y < TileSide; ++y) {
        for (int x = 0; x < TileSide; ++x) {
            if (imagePixel(sheet, a, x, y) != imagePixel(sheet, b, x, y)) ++count;
        }
    }
    return count;
}

class AssetTileSheet : public testing::Test {
  protected:
    QImage sheet = loadPicture("playal8n.bmp");
};

TEST_F(AssetTileSheet, HoldsEveryTileOfTheLayout) {
    ASSERT_FALSE(sheet.isNull());
    // The last tile's gap pixels need not be there.
    EXPECT_GE(sheet.width(), quarbel::SheetWidth - 1);
    EXPECT_GE(sheet.height(), quarbel::SheetHeight - 1);
}

TEST_F(AssetTileSheet, MasksAreOnlyBlackAndWhite) {
    ASSERT_FALSE(sheet.isNull());
    for (const auto& tile : kTiles) {
        int stray = 0;
        for (int y = 0; y < TileSide; ++y) {
            for (int x = 0; x < TileSide; ++x) {
                const QRgb m = maskPixel(sheet, tile, x, y);
                if (m != kBlack && m != kWhite) ++stray;
            }
        }
        EXPECT_EQ(stray, 0) << tile.name;
    }
}

TEST_F(AssetTileSheet, ImagesAreBlackWhereTheFloorShowsThrough) {
    ASSERT_FALSE(sheet.isNull());
    for (const auto& tile : kTiles) {
        int lit = 0;
        for (int y = 0; y < TileSide; ++y) {
            for (int x = 0; x < TileSide; ++x) {
                if (maskPixel(sheet, tile, x, y) == kWhite &&
                    imagePixel(sheet, tile, x, y) != kBlack) {
                    ++lit;
                }
            }
        }
        EXPECT_EQ(lit, 0) << tile.name;
    }
}

TEST_F(AssetTileSheet, EveryTileCoversSomeAndLeavesSomeFloor) {
    ASSERT_FALSE(sheet.isNull());
    for (const auto& tile : kTiles) {
        int covered = 0;
        for (int y = 0; y < TileSide; ++y) {
            for (int x = 0; x < TileSide; ++x) {
                if (maskPixel(sheet, tile, x, y) == kBlack) ++covered;
            }
        }
        EXPECT_GT(covered, 0) << tile.name;
        EXPECT_LT(covered, TileSide * TileSide) << tile.name;
    }
}

// A wall must hide all of its cell's floor, and the keeper and a crate must at least stand
// on the cell's middle.
TEST_F(AssetTileSheet, WallsFillTheirCellAndFiguresStandInTheMiddle) {
    using quarbel::CellPitch;
    using quarbel::TileAboveCell;
    using quarbel::TileLeftOfCell;
    ASSERT_FALSE(sheet.isNull());
    const NamedTile& wall = kTiles[5];
    int open = 0;
    for (int y = TileAboveCell; y < TileAboveCell + CellPitch; ++y) {
        for (int x = TileLeftOfCell; x < TileLeftOfCell + CellPitch; ++x) {
            if (maskPixel(sheet, wall, x, y) != kBlack) ++open;
        }
    }
    EXPECT_EQ(open, 0);
    for (const auto& tile : kTiles) {
        EXPECT_EQ(
            maskPixel(sheet, tile, TileLeftOfCell + CellPitch / 2, TileAboveCell + CellPitch / 2),
            kBlack)
            << tile.name;
    }
}

TEST_F(AssetTileSheet, CratesAtHomeAndBlinkingEyesLookDifferent) {
    ASSERT_FALSE(sheet.isNull());
    EXPECT_GT(differingPixels(sheet, kTiles[6], kTiles[7]), 300) << "crate and crate on target";
    // Seen from behind the keeper's eyes are hidden; from the other three sides they show.
    for (int facing = 1; facing < 4; ++facing) {
        EXPECT_GT(differingPixels(sheet, kTiles[facing], kTiles[8 + facing]), 0)
            << kTiles[facing].name;
    }
}

// A move redraws only the cells round the keeper and the changed cells; the tiles must stay
// within that reach, or a walk leaves pieces of the keeper behind. After every walk, push and
// undo in each direction the board must look as a full drawing of the same position does.
TEST_F(AssetTileSheet, APartialDrawingAfterAnyMoveEqualsAFullOne) {
    ASSERT_FALSE(sheet.isNull());
    const quarbel::AssetImages pictures{loadPicture("titel2.bmp"), loadPicture("titel.bmp"),
                                        loadPicture("backgr8.bmp"), sheet};
    quarbel::Renderer played;
    quarbel::Renderer fresh;
    played.loadAssets(pictures);
    fresh.loadAssets(pictures);

    const quarbel::Level level = quarbel::testing::levelFromRows({
        "###############",
        "#    .  #     #",
        "#  $ $$ # $.  #",
        "# .$@ $ .  $  #",
        "#  $.$  #  *  #",
        "#   $   ##$# .#",
        "##  .       $ #",
        "###############",
    });
    quarbel::GameState s;
    quarbel::placeLevel(s, level);
    s.levelActive = true;
    quarbel::NullFrontend ui;
    played.drawBoard(s, true, true);

    // Out in every direction, pushing crates on the way, back again, and undone.
    const quarbel::KeyCode keys[] = {quarbel::KeyLeft, quarbel::KeyUp, quarbel::KeyRight,
                                     quarbel::KeyDown};
    int moves = 0;
    int made[9] = {};  // moves made, by history code: walks 1 to 4, pushes 5 to 8
    for (int round = 0; round < 6; ++round) {
        for (quarbel::KeyCode key : keys) {
            for (int step = 0; step < 3 + round; ++step) {
                const bool undo = (moves + round) % 7 == 6;
                if (undo) {
                    quarbel::undoMove(s, ui);
                } else {
                    const int before = s.historyTop;
                    quarbel::stepKeeper(s, ui, key);
                    if (s.historyTop > before) ++made[s.history[before]];
                }
                ++moves;
                played.drawBoard(s, false, true);
                quarbel::GameState same = s;
                fresh.drawBoard(same, true, true);
                const quarbel::PixelBuffer& a = played.frontPicture();
                const quarbel::PixelBuffer& b = fresh.frontPicture();
                int differing = 0;
                for (int y = 0; y < a.height; ++y) {
                    for (int x = 0; x < a.width; ++x) {
                        if (a.at(x, y) != b.at(x, y)) ++differing;
                    }
                }
                ASSERT_EQ(differing, 0) << "move " << moves << (undo ? " (undo)" : "")
                                        << ", keeper at " << s.keeperX << "," << s.keeperY;
            }
        }
    }
    for (int code = 1; code <= 8; ++code)
        EXPECT_GT(made[code], 0) << "history code " << code;
}

TEST(AssetPictures, TitleHasABandToSlideInAndFitsTheSmallestScreen) {
    const QImage title = loadPicture("titel.bmp");
    ASSERT_FALSE(title.isNull());
    EXPECT_GE(title.width(), 640);
    EXPECT_GE(title.height(), 20);
    // At 800 x 600 the window's client area is about 794 x 570.
    EXPECT_LE(title.width(), 794);
    EXPECT_LE(title.height(), 570);
    int lit = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 640; ++x) {
            if ((title.pixel(x, y) & 0xffffffu) != kBlack) ++lit;
        }
    }
    EXPECT_GT(lit, 640 * 20 / 2);
}

TEST(AssetPictures, SideStripFitsTheMarginAt800x600) {
    const QImage strip = loadPicture("titel2.bmp");
    const QImage title = loadPicture("titel.bmp");
    ASSERT_FALSE(strip.isNull());
    // Beside the board of an 800 x 600 screen, in a client area of about 794 x 570.
    const quarbel::WindowLayout layout = quarbel::layoutWindow(
        600, 794, 570, {strip.width(), strip.height()}, {title.width(), title.height()});
    EXPECT_GT(layout.sideStrip.width, 0);
    EXPECT_LE(layout.sideStrip.width, layout.marginWidth);
    EXPECT_LE(layout.sideStrip.height, 570);
}

TEST(AssetPictures, BackgroundLoads) {
    const QImage background = loadPicture("backgr8.bmp");
    ASSERT_FALSE(background.isNull());
    EXPECT_GT(background.width(), 0);
    EXPECT_GT(background.height(), 0);
}

TEST(AssetPictures, ButtonPicturesHoldTwoLooksOfTheRightSize) {
    const std::vector<std::pair<const char*, int>> buttons = {
        {"mplay.bmp", 18},    {"mstop.bmp", 18},   {"mbacktostart.bmp", 18}, {"mback.bmp", 18},
        {"mforward.bmp", 18}, {"m10back.bmp", 28}, {"m10forward.bmp", 28}};
    for (const auto& [name, lookWidth] : buttons) {
        const QImage picture = loadPicture(name);
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(picture.width(), 2 * lookWidth) << name;
        EXPECT_EQ(picture.height(), 24) << name;
        int differing = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < lookWidth; ++x) {
                if (picture.pixel(x, y) != picture.pixel(lookWidth + x, y)) ++differing;
            }
        }
        EXPECT_GT(differing, 0) << name << ": the greyed look must differ";
    }
}

TEST(AssetPictures, WindowIconIs32Square) {
    const QImage icon(kGameDir + "/quarbel.png");
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(32, 32));
}

// What a wave file's header says, read chunk by chunk.
struct WaveInfo {
    bool valid = false;
    int format = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::uint32_t dataBytes = 0;
    qsizetype dataOffset = 0;
    double seconds() const {
        return double(dataBytes) / (double(sampleRate) * channels * (bitsPerSample / 8));
    }
};

std::uint32_t littleEndian(const QByteArray& bytes, qsizetype at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

WaveInfo readWave(const QByteArray& bytes) {
    WaveInfo info;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") return info;
    if (littleEndian(bytes, 4, 4) != static_cast<std::uint32_t>(bytes.size() - 8)) return info;
    bool haveFormat = false;
    bool haveData = false;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const std::uint32_t size = littleEndian(bytes, at + 4, 4);
        if (size > static_cast<std::uint32_t>(bytes.size() - at - 8)) return info;
        if (id == "fmt " && size >= 16) {
            info.format = static_cast<int>(littleEndian(bytes, at + 8, 2));
            info.channels = static_cast<int>(littleEndian(bytes, at + 10, 2));
            info.sampleRate = static_cast<int>(littleEndian(bytes, at + 12, 4));
            const std::uint32_t byteRate = littleEndian(bytes, at + 16, 4);
            const std::uint32_t blockAlign = littleEndian(bytes, at + 20, 2);
            info.bitsPerSample = static_cast<int>(littleEndian(bytes, at + 22, 2));
            const std::uint32_t frame = info.channels * (info.bitsPerSample / 8);
            haveFormat = blockAlign == frame && byteRate == frame * info.sampleRate;
        } else if (id == "data") {
            info.dataBytes = size;
            info.dataOffset = at + 8;
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    info.valid = haveFormat && haveData && info.sampleRate > 0 && info.channels > 0;
    return info;
}

int peakLevel(const QByteArray& bytes, const WaveInfo& wave) {
    int peak = 0;
    for (qsizetype at = wave.dataOffset; at + 1 < wave.dataOffset + wave.dataBytes; at += 2) {
        const auto sample = static_cast<std::int16_t>(littleEndian(bytes, at, 2));
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
}

TEST(AssetSounds, AreShortPcmWaveFiles) {
    for (const char* name : {"undo.wav", "done.wav"}) {
        const QByteArray bytes = loadFile(name);
        const WaveInfo wave = readWave(bytes);
        ASSERT_TRUE(wave.valid) << name;
        EXPECT_EQ(wave.format, 1) << name << " is not PCM";
        EXPECT_EQ(wave.bitsPerSample, 16) << name;
        EXPECT_GT(wave.dataBytes, 0u) << name;
        EXPECT_LT(wave.seconds(), 2.0) << name;
        // Loud enough to hear, with room to spare before clipping.
        EXPECT_GT(peakLevel(bytes, wave), 3000) << name;
        EXPECT_LT(peakLevel(bytes, wave), 32767) << name;
    }
}

TEST(AssetSounds, UndoClickIsShorterThanTheJingle) {
    const WaveInfo undo = readWave(loadFile("undo.wav"));
    const WaveInfo done = readWave(loadFile("done.wav"));
    ASSERT_TRUE(undo.valid && done.valid);
    EXPECT_LT(undo.seconds(), 0.3);
    EXPECT_GT(done.seconds(), 0.5);
    EXPECT_LT(undo.seconds(), done.seconds());
}

TEST(AssetHelp, OpensAtTopic1000AndNamesEveryTopicOnce) {
    const QString help = QString::fromUtf8(loadFile("quarbel.hlp"));
    ASSERT_FALSE(help.isEmpty());
    EXPECT_TRUE(help.contains(QStringLiteral("<a name=\"topic1000\"></a>")));
    // Every link to a topic leads to an anchor that exists.
    qsizetype at = 0;
    while ((at = help.indexOf(QStringLiteral("href=\"#"), at)) >= 0) {
        at += 7;
        const QString target = help.mid(at, help.indexOf('"', at) - at);
        EXPECT_EQ(help.count(QStringLiteral("<a name=\"%1\">").arg(target)), 1)
            << target.toStdString();
    }
}

}  // namespace
