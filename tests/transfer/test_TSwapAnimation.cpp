// The running dashes of the transfer form, tick by tick from the start of a
// run: the first pass from the left grows out of an empty text, every later
// pass is seven characters wide.

#include "TSwapAnimation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SwapCase {
    int tick;
    const char* text;
};

class SwapAnimation : public testing::TestWithParam<SwapCase> {};

TEST_P(SwapAnimation, TextAtTick) {
    TSwapAnimation anim;
    std::string text;
    for (int i = 0; i < GetParam().tick; ++i)
        text = anim.Step();
    EXPECT_EQ(text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Ticks, SwapAnimation,
    testing::Values(SwapCase{1, ""}, SwapCase{2, "-"}, SwapCase{3, "--"}, SwapCase{7, "------"},
                    // Erasing from the same end.
                    SwapCase{8, "------"}, SwapCase{9, " -----"}, SwapCase{14, "      "},
                    // Then the other way, from the right.
                    SwapCase{15, "      "}, SwapCase{16, "      -"}, SwapCase{21, " ------"},
                    SwapCase{22, " ------"}, SwapCase{23, " ----- "}, SwapCase{28, "       "},
                    // And back from the left, now on seven blanks.
                    SwapCase{30, "-      "}, SwapCase{35, "------ "}, SwapCase{37, " ----- "},
                    SwapCase{42, "       "}, SwapCase{44, "      -"}));

TEST(SwapAnimationReset, StartsOverFromAnEmptyText) {
    TSwapAnimation anim;
    for (int i = 0; i < 20; ++i)
        anim.Step();
    anim.Reset();
    EXPECT_STREQ(anim.GetText(), "");
    anim.Step();
    EXPECT_STREQ(anim.Step(), "-");
}

TEST(SwapAnimationWidth, NeverLongerThanSevenCharacters) {
    TSwapAnimation anim;
    for (int i = 0; i < 200; ++i)
        ASSERT_LE(std::string(anim.Step()).size(),
                  static_cast<std::size_t>(TSwapAnimation::kWidth));
}

} // namespace
