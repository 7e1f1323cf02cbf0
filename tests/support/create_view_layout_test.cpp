#include "support/create_view_layout.h"

#include <gtest/gtest.h>

namespace quarnel::layout {
namespace {

struct ResizeCase {
    const char* name;
    OuterSize window;
    OuterSize clamped;
    Rect box;
    Rect button;
};

void PrintTo(const ResizeCase& c, std::ostream* os) {
    *os << c.name;
}

class CreateViewResizeTest : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(CreateViewResizeTest, BoxKeepsItsMarginsAndButtonFollowsItsCorner) {
    const ResizeCase& c = GetParam();
    const OuterSize clamped = clampCreateViewSize(c.window);
    EXPECT_EQ(clamped, c.clamped);
    CreateViewLayout layout = CreateViewLayout::design();
    resizeCreateView(layout, clamped);
    EXPECT_EQ(layout.rtxtCrMoniter, c.box);
    EXPECT_EQ(layout.Command1, c.button);
}

// Box: left 0, top 30; button 1215 x 375. Width - 105, height - 1305; the button 60 under the
// box and 90 inside its right edge.
INSTANTIATE_TEST_SUITE_P(
    Sizes, CreateViewResizeTest,
    ::testing::Values(
        ResizeCase{
            "Large", {9000, 7000}, {9000, 7000}, {0, 30, 8895, 5695}, {7590, 5785, 1215, 375}},
        ResizeCase{
            "Minimum", {5500, 5000}, {5500, 5000}, {0, 30, 5395, 3695}, {4090, 3785, 1215, 375}},
        ResizeCase{
            "TooNarrow", {3000, 6000}, {5500, 6000}, {0, 30, 5395, 4695}, {4090, 4785, 1215, 375}},
        ResizeCase{
            "TooLow", {7000, 1000}, {7000, 5000}, {0, 30, 6895, 3695}, {5590, 3785, 1215, 375}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace quarnel::layout
