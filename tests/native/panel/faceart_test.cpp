// The button faces' art keeps the margins the drawing code leaves out of small buttons.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/paneldraw.h"
#include "resources/controlids.h"

namespace {

struct Art {
    std::string kind;
    int id = 0;
    std::vector<std::string> rows;
};

Art ReadArt(const std::filesystem::path& path) {
    Art art;
    std::ifstream in(path);
    bool pixels = false;
    for (std::string line; std::getline(in, line);) {
        if (pixels) {
            if (line == "pixels") break; // a drawing at another size follows
            if (!line.empty()) art.rows.push_back(line);
        } else if (line.rfind("kind ", 0) == 0) {
            art.kind = line.substr(5);
        } else if (line.rfind("id ", 0) == 0) {
            art.id = std::stoi(line.substr(3));
        } else if (line == "pixels") {
            pixels = true;
        }
    }
    return art;
}

// Normal faces keep the full margin; pushed and grey faces move or shadow their
// picture one pixel right and down, into the inner half of those margins.
bool IsNormalFace(int id) {
    for (int control :
         {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_NEXT, IDC_PREVIOUS, IDC_EJECT, IDC_VOLUME_UP, IDC_VOLUME_DOWN}) {
        if (PanelFaceFor(control, false, false) == id) return true;
    }
    return false;
}

TEST(PanelFaceArt, EveryFaceIsFourteenSquareWithButtonColouredMargins) {
    int faces = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TUNOVA_SOURCE_DIR) + "/resources/art")) {
        const Art art = ReadArt(entry.path());
        if (art.kind != "bitmap" || art.id < 144 || art.id > 166) continue;
        ++faces;
        const std::string name = entry.path().filename().string();
        ASSERT_EQ(art.rows.size(), static_cast<size_t>(PanelFaceSize)) << name;
        // The first row and column of the far margins that must stay free.
        const int far = PanelFaceSize - PanelFaceMargin + (IsNormalFace(art.id) ? 0 : 1);
        for (int y = 0; y < PanelFaceSize; ++y) {
            ASSERT_EQ(art.rows[y].size(), static_cast<size_t>(PanelFaceSize)) << name;
            for (int x = 0; x < PanelFaceSize; ++x) {
                const bool margin = x < PanelFaceMargin || y < PanelFaceMargin || x >= far || y >= far;
                if (margin) {
                    EXPECT_EQ(art.rows[y][x], '.') << name << " at " << x << "," << y;
                }
            }
        }
    }
    EXPECT_EQ(faces, 23);
}

} // namespace
