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

void ExpectPlacement(const FacePlacement& p, const FacePlacement& e, const std::string& what) {
    EXPECT_EQ(p.artScale, e.artScale) << what;
    EXPECT_EQ(p.x, e.x) << what;
    EXPECT_EQ(p.y, e.y) << what;
    EXPECT_EQ(p.width, e.width) << what;
    EXPECT_EQ(p.height, e.height) << what;
    EXPECT_EQ(p.sourceX, e.sourceX) << what;
    EXPECT_EQ(p.sourceY, e.sourceY) << what;
    EXPECT_EQ(p.sourceWidth, e.sourceWidth) << what;
    EXPECT_EQ(p.sourceHeight, e.sourceHeight) << what;
}

TEST(PanelFaces, FaceIsCentredInLargeButtonsAndFittedIntoSmallOnes) {
    struct Case {
        int left, top, right, bottom;
        FacePlacement expected;
    };
    const Case cases[] = {
        {0, 0, 14, 14, {0, 0, 14, 14, 0, 0, 14, 14, 1}},
        {10, 20, 30, 40, {13, 23, 14, 14, 0, 0, 14, 14, 1}}, // 20 x 20: three pixels each side
        {0, 0, 19, 17, {2, 1, 14, 14, 0, 0, 14, 14, 1}},     // odd spare pixels: the extra one right and down
        {0, 0, 13, 20, {0, 3, 13, 14, 0, 0, 13, 14, 1}},     // one pixel short: not moved, last column left out
        {0, 0, 13, 12, {0, 0, 13, 12, 0, 1, 13, 12, 1}},     // the panel's buttons under Wine: no scaling
        {0, 0, 11, 11, {0, 0, 11, 11, 1, 1, 11, 11, 1}},
        {5, 5, 15, 13, {5, 5, 10, 8, 2, 2, 10, 10, 1}},      // below the picture's size: scaled down
        {3, 3, 10, 10, {3, 3, 7, 7, 2, 2, 10, 10, 1}},
        {4, 4, 4, 2, {4, 4, 0, 0, 2, 2, 10, 10, 1}},         // empty or inverted rectangles draw nothing
    };
    for (const Case& c : cases) {
        const FacePlacement p = PlaceFace(c.left, c.top, c.right, c.bottom);
        ExpectPlacement(p, c.expected, std::to_string(c.right - c.left) + "x" + std::to_string(c.bottom - c.top));
    }
}

// On a screen of more than 96 DPI the face grows with the button: drawn from the art at
// 2 or 3 times, pixel for pixel where the scale is whole, else shrunk from the next
// larger drawing, never stretched from a smaller one (below 288 DPI).
TEST(PanelFaces, FaceGrowsWithTheScreensScaleFromItsLargerDrawings) {
    struct Case {
        int dpi, width, height;
        FacePlacement expected;
    };
    const Case cases[] = {
        {192, 28, 28, {0, 0, 28, 28, 0, 0, 28, 28, 2}},
        {192, 40, 40, {6, 6, 28, 28, 0, 0, 28, 28, 2}},   // centred
        {192, 26, 24, {0, 0, 26, 24, 1, 2, 26, 24, 2}},   // margins left out, pixel for pixel
        {192, 16, 16, {0, 0, 16, 16, 4, 4, 20, 20, 2}},   // smaller than the picture: scaled down
        {144, 21, 21, {0, 0, 21, 21, 0, 0, 28, 28, 2}},   // 1.5 times: the double drawing shrunk
        {144, 19, 18, {0, 0, 19, 18, 1, 1, 25, 24, 2}},
        {120, 18, 18, {0, 0, 18, 18, 0, 0, 28, 28, 2}},   // 1.25 times rounds to 18 pixels
        {288, 42, 42, {0, 0, 42, 42, 0, 0, 42, 42, 3}},
        {384, 60, 60, {2, 2, 56, 56, 0, 0, 42, 42, 3}},   // beyond three times: the largest enlarged
        {0, 14, 14, {0, 0, 14, 14, 0, 0, 14, 14, 1}},     // no DPI known: 96
    };
    for (const Case& c : cases) {
        const FacePlacement p = PlaceFace(0, 0, c.width, c.height, c.dpi);
        ExpectPlacement(p, c.expected, std::to_string(c.dpi) + " DPI " + std::to_string(c.width) + "x" +
                                 std::to_string(c.height));
    }
}

} // namespace
