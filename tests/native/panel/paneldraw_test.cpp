// The panel buttons' faces and where they are drawn.
#include <gtest/gtest.h>

#include <string>

#include "app/paneldraw.h"
#include "resources/resource.h"

namespace {

TEST(PanelFaces, EachButtonHasItsNormalPushedAndGreyFace) {
    struct Case {
        int control, normal, pushed, disabled;
    };
    const Case cases[] = {
        {IDC_PLAY, IDB_PLAY, IDB_PLAY_PUSHED, IDB_PLAY_DISABLED},
        {IDC_PAUSE, IDB_PAUSE, IDB_PAUSE_PUSHED, IDB_PAUSE_DISABLED},
        {IDC_STOP, IDB_STOP, IDB_STOP_PUSHED, IDB_STOP_DISABLED},
        {IDC_PREVIOUS, IDB_PREVIOUS, IDB_PREVIOUS_PUSHED, IDB_PREVIOUS_DISABLED},
        {IDC_NEXT, IDB_NEXT, IDB_NEXT_PUSHED, IDB_NEXT_DISABLED},
        {IDC_EJECT, IDB_EJECT, IDB_EJECT_PUSHED, IDB_EJECT}, // no grey face: shown as it is
        {IDC_VOLUME_UP, IDB_VOLUME_UP, IDB_VOLUME_UP_PUSHED, IDB_VOLUME_UP_DISABLED},
        {IDC_VOLUME_DOWN, IDB_VOLUME_DOWN, IDB_VOLUME_DOWN_PUSHED, IDB_VOLUME_DOWN_DISABLED},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PanelFaceFor(c.control, false, false), c.normal) << c.control;
        EXPECT_EQ(PanelFaceFor(c.control, true, false), c.pushed) << c.control;
        EXPECT_EQ(PanelFaceFor(c.control, true, true), c.pushed) << "selected wins, " << c.control;
        EXPECT_EQ(PanelFaceFor(c.control, false, true), c.disabled) << c.control;
    }
}

TEST(PanelFaces, OtherControlsHaveNone) {
    for (int control : {IDC_STATUS, IDC_VOLUME_BAR, 0, 1}) EXPECT_EQ(PanelFaceFor(control, false, false), 0) << control;
}

TEST(PanelFaces, FaceIsCentredInLargeButtonsAndFittedIntoSmallOnes) {
    struct Case {
        int left, top, right, bottom;
        FacePlacement expected;
    };
    const Case cases[] = {
        {0, 0, 14, 14, {0, 0, 14, 14, 0, 0, 14, 14}},
        {10, 20, 30, 40, {13, 23, 14, 14, 0, 0, 14, 14}}, // 20 x 20: three pixels each side
        {0, 0, 19, 17, {2, 1, 14, 14, 0, 0, 14, 14}},     // odd spare pixels: the extra one right and down
        {0, 0, 13, 20, {0, 3, 13, 14, 0, 0, 13, 14}},     // one pixel short: not moved, last column left out
        {0, 0, 13, 12, {0, 0, 13, 12, 0, 1, 13, 12}},     // the panel's buttons under Wine: no scaling
        {0, 0, 11, 11, {0, 0, 11, 11, 1, 1, 11, 11}},
        {5, 5, 15, 13, {5, 5, 10, 8, 2, 2, 10, 10}},      // below the picture's size: scaled down
        {3, 3, 10, 10, {3, 3, 7, 7, 2, 2, 10, 10}},
        {4, 4, 4, 2, {4, 4, 0, 0, 2, 2, 10, 10}},         // empty or inverted rectangles draw nothing
    };
    for (const Case& c : cases) {
        const FacePlacement p = PlaceFace(c.left, c.top, c.right, c.bottom);
        const FacePlacement& e = c.expected;
        const std::string size = std::to_string(c.right - c.left) + "x" + std::to_string(c.bottom - c.top);
        EXPECT_EQ(p.x, e.x) << size;
        EXPECT_EQ(p.y, e.y) << size;
        EXPECT_EQ(p.width, e.width) << size;
        EXPECT_EQ(p.height, e.height) << size;
        EXPECT_EQ(p.sourceX, e.sourceX) << size;
        EXPECT_EQ(p.sourceY, e.sourceY) << size;
        EXPECT_EQ(p.sourceWidth, e.sourceWidth) << size;
        EXPECT_EQ(p.sourceHeight, e.sourceHeight) << size;
    }
}

} // namespace
