// The panel buttons' faces and where they are drawn.
#include <gtest/gtest.h>

#include "app/paneldraw.h"

namespace {

TEST(PanelFaces, EachButtonHasItsNormalPushedAndGreyFace) {
    struct Case {
        int control, normal, pushed, disabled;
    };
    const Case cases[] = {
        {1047, 144, 145, 156}, {1048, 146, 147, 157}, {1049, 148, 149, 158}, {1053, 150, 151, 159},
        {1050, 152, 153, 160}, {1054, 154, 155, 154}, {1090, 161, 162, 163}, {1091, 164, 165, 166},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PanelFaceFor(c.control, false, false), c.normal) << c.control;
        EXPECT_EQ(PanelFaceFor(c.control, true, false), c.pushed) << c.control;
        EXPECT_EQ(PanelFaceFor(c.control, true, true), c.pushed) << "selected wins, " << c.control;
        EXPECT_EQ(PanelFaceFor(c.control, false, true), c.disabled) << c.control;
    }
}

TEST(PanelFaces, OtherControlsHaveNone) {
    for (int control : {1051, 1097, 0, 1}) EXPECT_EQ(PanelFaceFor(control, false, false), 0) << control;
}

TEST(PanelFaces, FaceIsCentredInLargeButtonsAndScaledIntoSmallOnes) {
    struct Case {
        int left, top, right, bottom;
        FacePlacement expected;
    };
    const Case cases[] = {
        {0, 0, 14, 14, {0, 0, 14, 14}},
        {10, 20, 30, 40, {13, 23, 14, 14}},   // 20 x 20: three pixels each side
        {0, 0, 19, 17, {2, 1, 14, 14}},       // odd spare pixels: the extra one goes right and down
        {5, 5, 15, 13, {5, 5, 10, 8}},        // smaller: from the top-left corner, scaled down
        {0, 0, 13, 20, {0, 3, 13, 14}},       // one pixel short: not moved left
        {0, 0, 11, 11, {0, 0, 11, 11}},
        {4, 4, 4, 2, {4, 4, 0, 0}},           // empty or inverted rectangles draw nothing
    };
    for (const Case& c : cases) {
        const FacePlacement p = PlaceFace(c.left, c.top, c.right, c.bottom);
        EXPECT_EQ(p.x, c.expected.x) << c.right - c.left << "x" << c.bottom - c.top;
        EXPECT_EQ(p.y, c.expected.y) << c.right - c.left << "x" << c.bottom - c.top;
        EXPECT_EQ(p.width, c.expected.width) << c.right - c.left << "x" << c.bottom - c.top;
        EXPECT_EQ(p.height, c.expected.height) << c.right - c.left << "x" << c.bottom - c.top;
    }
}

} // namespace
