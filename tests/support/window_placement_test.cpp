// Centring and limiting windows by their outer size, frame included.
#include "support/window_placement.h"

#include <gtest/gtest.h>

#include <string>

namespace quarnel::placement {
namespace {

struct FrameCase {
    std::string name;
    QMargins frame;
};

class WindowPlacementTest : public ::testing::TestWithParam<FrameCase> {};

// A sizable window under a common X11 manager (caption 20, bottom handle 5), a fixed dialog
// (no handle), a thick frame, and none at all.
INSTANTIATE_TEST_SUITE_P(Frames, WindowPlacementTest,
                         ::testing::Values(FrameCase{"Sizable", QMargins(1, 20, 1, 5)},
                                           FrameCase{"Dialog", QMargins(1, 20, 1, 1)},
                                           FrameCase{"Thick", QMargins(8, 31, 8, 8)},
                                           FrameCase{"None", QMargins()}),
                         [](const auto& info) { return info.param.name; });

TEST_P(WindowPlacementTest, CentredOnAreaLeavesEqualRoomOnEachSideOfTheFrame) {
    const QMargins frame = GetParam().frame;
    const QRect screen(0, 0, 1280, 1024);
    for (const QSize client : {QSize(599, 459), QSize(358, 94), QSize(1, 1)}) {
        const QPoint at = centredOnArea(screen, client, frame);
        const QRect outer(at, outerSize(client, frame));
        EXPECT_LE(std::abs(outer.top() - (screen.bottom() - outer.bottom())), 1) << outer.top();
        EXPECT_LE(std::abs(outer.left() - (screen.right() - outer.right())), 1) << outer.left();
    }
}

TEST_P(WindowPlacementTest, CentredOnAreaCountsFromTheAreasCorner) {
    // A second screen to the right of and below the first.
    const QMargins frame = GetParam().frame;
    const QRect second(1280, 200, 1024, 768);
    const QSize client(400, 300);
    const QPoint at = centredOnArea(second, client, frame);
    EXPECT_EQ(at - centredOnArea(QRect(0, 0, 1024, 768), client, frame), QPoint(1280, 200));
}

TEST_P(WindowPlacementTest, CentredOverPutsBothOuterCentresTogether) {
    const QMargins frame = GetParam().frame;
    const QRect owner(339, 270, 601, 484);
    for (const QSize client : {QSize(358, 94), QSize(193, 142), QSize(700, 600)}) {
        const QRect outer(centredOver(owner, client, frame), outerSize(client, frame));
        EXPECT_LE((outer.center() - owner.center()).manhattanLength(), 2)
            << outer.center().x() << "," << outer.center().y();
    }
}

TEST_P(WindowPlacementTest, MinimumClientSizeGivesBackTheOuterMinimum) {
    const QMargins frame = GetParam().frame;
    const QSize minimumOuter(367, 333);
    EXPECT_EQ(outerSize(minimumClientSize(minimumOuter, frame), frame), minimumOuter);
}

TEST(WindowPlacement, MinimumClientSizeIsNeverNegative) {
    EXPECT_EQ(minimumClientSize(QSize(10, 10), QMargins(8, 31, 8, 8)), QSize(0, 0));
}

TEST(WindowPlacement, CentredOverUsesTheRuleWithHalvesRoundedDown) {
    // Top = owner.Top + owner.Height / 2 - own.Height / 2 with whole-number halves:
    // 270 + 242 - 57 = 455 (own outer height 115), 339 + 300 - 180 = 459 (own outer width 360).
    EXPECT_EQ(centredOver(QRect(339, 270, 601, 484), QSize(358, 94), QMargins(1, 20, 1, 1)),
              QPoint(459, 455));
}

// The search window beside the main window: next to it where the screen has room, else against
// the screen's edge on the roomier side, covering the owner only as far as it must.
TEST(WindowPlacement, BesideOwnerCoversAsLittleOfItAsTheScreenAllows) {
    const QRect screen(0, 0, 1920, 1080);
    const QSize client(600, 400);
    const QMargins frame(1, 20, 1, 1);  // outer 602 x 421
    struct Case {
        QRect owner;
        QPoint expected;
    } cases[] = {
        {QRect(660, 300, 600, 480), QPoint(1260, 300)},  // room on the right
        {QRect(1300, 300, 600, 480), QPoint(698, 300)},  // more room on the left
        {QRect(340, 200, 1300, 900), QPoint(0, 200)},    // neither: the roomier side's screen edge
        {QRect(100, 900, 600, 150), QPoint(700, 659)},   // the bottom kept on the screen
    };
    for (const Case& c : cases)
        EXPECT_EQ(besideOwner(c.owner, client, frame, screen), c.expected) << c.owner.x();
    // On a second screen to the right, it stays on that screen.
    EXPECT_EQ(besideOwner(QRect(1920, 0, 1900, 1000), client, frame, QRect(1920, 0, 1920, 1080)),
              QPoint(3238, 0));
}

// Frames as X11 reports them while openbox frames the DDL window: the unsettled ones (a 1x1
// frame at the origin, or one smaller than the client) give no margins, so no window is sized
// or placed by them.
TEST(WindowPlacement, FrameMarginsOnlyFromAFrameThatEnclosesTheClient) {
    const QRect client(440, 348, 397, 313);
    EXPECT_EQ(frameMarginsAround(QRect(439, 328, 399, 338), client), QMargins(1, 20, 1, 5));
    EXPECT_EQ(frameMarginsAround(QRect(0, 0, 1, 1), QRect(0, 0, 397, 313)), std::nullopt);
    EXPECT_EQ(frameMarginsAround(QRect(0, 0, 367, 333), QRect(0, 0, 763, 645)), std::nullopt);
    EXPECT_EQ(frameMarginsAround(client, client), std::nullopt);
}

}  // namespace
}  // namespace quarnel::placement
