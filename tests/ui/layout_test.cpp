// The window's arithmetic: margins, panel columns, the side strip and the images.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ui/design.h"
#include "ui/keymap.h"
#include "ui/layout.h"

namespace quarbel {
namespace {

TEST(Layout, OddMarginLosesItsHalfPixel) {
    const WindowLayout layout = layoutWindow(600, 794, 570, {100, 555}, {640, 400});
    EXPECT_EQ(layout.boardSide, 555);
    EXPECT_EQ(layout.marginWidth, 119);
    EXPECT_EQ(layout.leftPanelX(94), 12);
    EXPECT_EQ(layout.rightPanelX(94), 688);
    EXPECT_EQ(layout.board, (Rect{119, 7, 555, 555}));
    EXPECT_EQ(layout.title, (Rect{77, 85, 640, 400}));
}

TEST(Layout, PanelsLineUpWithTheirCommandButtons) {
    const WindowLayout layout = layoutWindow(600, 800, 600, {100, 555}, {640, 400});
    EXPECT_EQ(layout.marginWidth, 122);
    EXPECT_EQ(panelX(layout, Control::start), 692);
    EXPECT_EQ(panelX(layout, Control::plusplus), 692);
    EXPECT_EQ(panelX(layout, Control::minusminus), 692);
    EXPECT_EQ(panelX(layout, Control::plus), 692 + 94 - 41);
    EXPECT_EQ(panelX(layout, Control::levelnummer), 800 - 73 - (122 - 73) / 2);
    EXPECT_EQ(panelX(layout, Control::autorname), 800 - 100 - 11);

    const int load = (122 - 95) / 2;
    EXPECT_EQ(panelX(layout, Control::load), load);
    EXPECT_EQ(panelX(layout, Control::plusplus2), load);
    EXPECT_EQ(panelX(layout, Control::plus2), load + 95 - 41);
    const int play = (122 - 70) / 2;
    EXPECT_EQ(panelX(layout, Control::mplay), play);
    for (Control c : {Control::mbacktostart, Control::mback, Control::m10back}) {
        EXPECT_EQ(panelX(layout, c), play);
    }
    for (Control c : {Control::mstop, Control::mforward, Control::m10forward}) {
        EXPECT_EQ(panelX(layout, c), play + 35);
    }
    EXPECT_EQ(panelX(layout, Control::msteps), (122 - 95) / 2);
    EXPECT_EQ(panelX(layout, Control::mstepsview), (122 - 94) / 2);
}

// GNOME's top bar leaves 1048 of 1080 rows, its title bar 1011 of those: the board is 45 less
// than the free height. A desktop that says nothing of its panels (a Wayland compositor) may
// leave less than that: the board shrinks to the client height, whole and centred.
TEST(Layout, TheBoardKeepsToTheFreeAreaAndTheClientArea) {
    const WindowLayout gnome = layoutWindow(1048, 1920, 1011, {100, 555}, {640, 400});
    EXPECT_EQ(gnome.boardSide, 1003);
    EXPECT_EQ(gnome.board, (Rect{458, 4, 1003, 1003}));
    const WindowLayout wayland = layoutWindow(1080, 1920, 1017, {100, 555}, {640, 400});
    EXPECT_EQ(wayland.boardSide, 1017);
    EXPECT_EQ(wayland.board, (Rect{451, 0, 1017, 1017}));
    EXPECT_EQ(wayland.marginWidth, 451);
}

TEST(Layout, ScreenTallerThanWideGivesNegativeMargins) {
    const WindowLayout layout = layoutWindow(1000, 800, 1000, {100, 555}, {640, 400});
    EXPECT_EQ(layout.boardSide, 955);
    EXPECT_EQ(layout.marginWidth, -77);  // -155 / 2 truncates toward zero
    EXPECT_EQ(layout.leftPanelX(94), -85);
    EXPECT_EQ(layout.rightPanelX(94), 800 - 94 + 85);
    EXPECT_EQ(layout.board.left, -77);
}

TEST(Layout, SideStripScalesWithTheScreenAndRoundsHalvesToEven) {
    const WindowLayout large = layoutWindow(1080, 1920, 1050, {100, 555}, {640, 400});
    EXPECT_EQ(large.boardSide, 1035);
    EXPECT_EQ(large.sideStrip.height, 999);  // 555 * 1080 / 600
    EXPECT_EQ(large.sideStrip.width, 180);   // 100 * 999 / 555
    EXPECT_EQ(large.sideStrip.top, 26);      // 51 / 2 = 25.5, to the even 26
    EXPECT_EQ(large.titel2LeftX, (442 - 180) / 2);
    EXPECT_EQ(large.titel2RightX, 1920 - 180 - (442 - 180) / 2);
    EXPECT_EQ(large.sideStrip.left, large.titel2LeftX);

    EXPECT_EQ(halfRoundedToEven(101), 50);
    EXPECT_EQ(halfRoundedToEven(103), 52);
    EXPECT_EQ(halfRoundedToEven(100), 50);
    EXPECT_EQ(halfRoundedToEven(-101), -50);
    EXPECT_EQ(halfRoundedToEven(-103), -52);
    EXPECT_EQ(layoutWindow(600, 800, 656, {100, 555}, {640, 400}).sideStrip.top, 50);
    EXPECT_EQ(layoutWindow(600, 800, 658, {100, 555}, {640, 400}).sideStrip.top, 52);
}

TEST(Layout, SideStripSizeTruncatesAndCanBeEmpty) {
    // 300 * 768 / 600 = 384 high; 40 * 384 / 300 = 51.2, truncated.
    const Rect strip = layoutWindow(768, 1024, 740, {40, 300}, {640, 400}).sideStrip;
    EXPECT_EQ(strip.height, 384);
    EXPECT_EQ(strip.width, 51);
    const Rect tiny = layoutWindow(1, 1024, 740, {40, 300}, {640, 400}).sideStrip;
    EXPECT_EQ(tiny.height, 0);
    EXPECT_EQ(tiny.width, 0);
    const Rect none = layoutWindow(600, 800, 570, {0, 0}, {640, 400}).sideStrip;
    EXPECT_EQ(none.width, 0);
}

TEST(Design, EveryControlOfBothPanelsOnce) {
    int controls = 0;
    for (const ControlDesign& design : panelDesign()) {
        EXPECT_EQ(&designOf(design.control), &design);
        EXPECT_EQ(design.kind == ControlKind::Picture, design.colours == nullptr);
        ++controls;
    }
    EXPECT_EQ(controls, 34);
    // The game panel's controls come first, then the movie panel's, and the picture buttons
    // are the replay buttons.
    std::vector<Control> panels(std::begin(GamePanel), std::end(GamePanel));
    panels.insert(panels.end(), std::begin(MoviePanel), std::end(MoviePanel));
    std::vector<Control> designed;
    std::vector<Control> pictures;
    for (const ControlDesign& design : panelDesign()) {
        designed.push_back(design.control);
        if (design.kind == ControlKind::Picture) pictures.push_back(design.control);
    }
    EXPECT_EQ(designed, panels);
    EXPECT_TRUE(std::is_permutation(pictures.begin(), pictures.end(), std::begin(PlayerButtons),
                                    std::end(PlayerButtons)));
    EXPECT_EQ(designOf(Control::plusplus2).width, 42);
    EXPECT_EQ(designOf(Control::autorname).width, 100);
}

TEST(KeyMap, RealKeysGiveTheGameKeyCodes) {
    const auto code = [](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        return keyCodeFor(key, modifiers);
    };
    EXPECT_EQ(code(Qt::Key_Backspace), KeyBack);
    EXPECT_EQ(code(Qt::Key_Return), KeyReturn);
    EXPECT_EQ(code(Qt::Key_Enter, Qt::KeypadModifier), KeyReturn);
    EXPECT_EQ(code(Qt::Key_Left), KeyLeft);
    EXPECT_EQ(code(Qt::Key_Up), KeyUp);
    EXPECT_EQ(code(Qt::Key_Right), KeyRight);
    EXPECT_EQ(code(Qt::Key_Down), KeyDown);
    EXPECT_EQ(code(Qt::Key_Left, Qt::KeypadModifier), KeyLeft);
    EXPECT_EQ(code(Qt::Key_Plus, Qt::KeypadModifier), KeyAdd);
    EXPECT_EQ(code(Qt::Key_Minus, Qt::KeypadModifier), KeySubtract);
    EXPECT_NE(code(Qt::Key_Plus), KeyAdd);  // the main keyboard's plus
    EXPECT_NE(code(Qt::Key_Minus), KeySubtract);
    // Keys that no handler reads, F1 among them (the window opens the help itself).
    for (int key : {Qt::Key_A, Qt::Key_F1, Qt::Key_Space, Qt::Key_Escape, Qt::Key_unknown})
        EXPECT_EQ(code(key), KeyNone) << key;
    EXPECT_EQ(code(Qt::Key_5, Qt::KeypadModifier), KeyNone);
}

}  // namespace
}  // namespace quarbel
