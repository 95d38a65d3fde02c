// The keeper's blink.
#include <gtest/gtest.h>

#include "support/fakefrontend.h"
#include "ui/render/blink.h"

namespace quarbel::testing {
namespace {

int heads() {
    return 0;
}
int tails() {
    return 1;
}
int notThrown() {
    ADD_FAILURE() << "closed eyes open without a throw";
    return 0;
}

TEST(Zwinkern, OneLeavesTheEyesOpenAndDrawsNothing) {
    FakeFrontend ui;
    GameState s;

    zwinkernTimer(s, ui, tails);

    EXPECT_FALSE(s.eyesClosed);
    EXPECT_TRUE(ui.log.empty());
}

TEST(Zwinkern, ZeroClosesTheEyesForOneTick) {
    FakeFrontend ui;
    GameState s;

    zwinkernTimer(s, ui, heads);
    EXPECT_TRUE(s.eyesClosed);
    zwinkernTimer(s, ui, notThrown);
    EXPECT_FALSE(s.eyesClosed);

    EXPECT_EQ(ui.log,
              (std::vector<std::string>{"drawBoard(false,false)", "drawBoard(false,true)"}));
}

TEST(Zwinkern, ClockCoinShowsBothSides) {
    bool seen[2] = {false, false};
    for (int i = 0; i < 200; ++i) {
        const int side = clockCoin();
        ASSERT_TRUE(side == 0 || side == 1);
        seen[side] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

}  // namespace
}  // namespace quarbel::testing
