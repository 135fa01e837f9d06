// The control panel of the real main window: buttons, status line, faces, dragging and
// scanning with a held button.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/paneldraw.h"
#include "app/shellstate.h"

#include "app/sequencing.h"
#include "app/win32/traytip.h"
#include "tests/support/win32/layout.h"
#include "tests/support/win32/panelfixture.h"

namespace {

TEST_F(PanelWindowTest, PanelIsACaptionlessToolWindowHiddenAtStart) {
    Start("album.disc");
    EXPECT_FALSE(IsWindowVisible(window_));
    const LONG style = GetWindowLongA(window_, GWL_STYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_EQ(style & WS_CAPTION, WS_BORDER) << "a thin frame, no caption";
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);

    struct Case {
        int id;
        RECT units; // x, y, width, height in dialog units, each mapped by itself as the template is
    };
    const Case cases[] = {
        {IDC_STATUS, {0, 0, 72, 12}},      {IDC_PLAY, {0, 12, 12, 12}},        {IDC_PAUSE, {12, 12, 12, 12}},
        {IDC_STOP, {24, 12, 12, 12}},      {IDC_PREVIOUS, {36, 12, 12, 12}},   {IDC_NEXT, {48, 12, 12, 12}},
        {IDC_EJECT, {60, 12, 12, 12}},     {IDC_VOLUME_UP, {72, 0, 12, 12}},   {IDC_VOLUME_DOWN, {72, 12, 12, 12}},
        {IDC_VOLUME_BAR, {84, 0, 6, 24}},
    };
    RECT client;
    GetClientRect(window_, &client);
    RECT whole{0, 0, 90, 24};
    MapDialogRect(window_, &whole);
    EXPECT_EQ(client.right, whole.right);
    EXPECT_EQ(client.bottom, whole.bottom);
    for (const Case& c : cases) {
        HWND control = GetDlgItem(window_, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        RECT expected = c.units;
        MapDialogRect(window_, &expected);
        RECT actual;
        GetWindowRect(control, &actual);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << c.id;
        EXPECT_EQ(actual.top, expected.top) << c.id;
        EXPECT_EQ(actual.right - actual.left, expected.right) << c.id;
        EXPECT_EQ(actual.bottom - actual.top, expected.bottom) << c.id;
        if (c.id != IDC_STATUS) {
            EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << c.id;
            EXPECT_TRUE(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_STATICEDGE) << c.id;
        }
    }
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(window_, IDC_STATUS), GWL_STYLE) & SS_SUNKEN);
}

TEST_F(PanelWindowTest, ButtonsFollowThePlayState) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    ASSERT_TRUE(IsWindowVisible(window_));
    struct Case {
        int command;
        PlayState state;
        bool play, pause, stop, previous, next;
    };
    const Case cases[] = {
        {0, Playing, false, true, true, true, true},
        {IDC_PAUSE, Paused, true, true, true, false, false},
        {IDC_STOP, Stopped, true, false, false, false, false},
        {IDC_PLAY, Playing, false, true, true, true, true},
    };
    for (const Case& c : cases) {
        if (c.command) SendMessageA(GetDlgItem(window_, c.command), BM_CLICK, 0, 0);
        ASSERT_EQ(Shell().playState, c.state) << c.command;
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(window_, IDC_PLAY)) != 0, c.play) << c.command;
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(window_, IDC_PAUSE)) != 0, c.pause) << c.command;
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(window_, IDC_STOP)) != 0, c.stop) << c.command;
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(window_, IDC_PREVIOUS)) != 0, c.previous) << c.command;
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(window_, IDC_NEXT)) != 0, c.next) << c.command;
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, IDC_EJECT))) << c.command;
    }
}

TEST_F(PanelWindowTest, StatusLineShowsEachTimeDisplayMode) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    Command(IDM_PAUSE);
    ASSERT_EQ(Shell().playState, Paused);
    Shell().posMinute = 1;
    Shell().posSecond = 5;
    struct Case {
        int mode;
        const char* line;
    };
    // Track 1 lasts 4:03 and starts at 0:02; the disc ends at 47:49.
    for (const Case& c : {Case{0, "Paused (1) 1:05"}, Case{1, "Paused (1) 2:58"}, Case{2, "Paused 1:07"},
                          Case{3, "Paused 46:42"}}) {
        ProgramOptions().TimeDisplayMode = c.mode;
        StatusTick();
        EXPECT_EQ(ItemText(window_, IDC_STATUS), c.line) << c.mode;
    }
    Command(IDM_STOP);
    EXPECT_EQ(ItemText(window_, IDC_STATUS), "Stopped");
}

// The tip reaches the shell's wide record with every letter, and a long one fills the
// field to its last unit without a broken letter at the end.
TEST(TrayTipRecord, HoldsTheTitleInEveryScriptCutToTheField) {
    NOTIFYICONDATAW record = {};
    CopyTrayTip(record, "Playing (3) 1:05 - 夜明けの歌 Песня Ωδή");
    EXPECT_EQ(std::wstring(record.szTip), L"Playing (3) 1:05 - 夜明けの歌 Песня Ωδή");

    std::string title;
    for (int i = 0; i < 50; ++i) title += "海";
    std::memset(record.szTip, 0xFF, sizeof record.szTip);
    CopyTrayTip(record, "Paused (3) 1:05 - " + title);
    EXPECT_EQ(std::wstring(record.szTip), L"Paused (3) 1:05 - " + std::wstring(63 - 18, L'海'));

    // U+1D11E is a surrogate pair: at unit 63 it would be cut in half, so it is left out.
    CopyTrayTip(record, std::string(62, 'x') + "\xF0\x9D\x84\x9E");
    EXPECT_EQ(std::wstring(record.szTip), std::wstring(62, L'x'));
}

// A 32-bit canvas to draw a button into, white to start with.
class Canvas {
public:
    explicit Canvas(int size) : Canvas(size, size) {}
    Canvas(int width, int height, std::uint32_t ground = 0xFFFFFF) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < width * height; ++i) pixels_[i] = ground;
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    bool Draw(int control, UINT state, RECT rect) {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(control);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hDC = dc_;
        item.rcItem = rect;
        const bool drawn = DrawPanelButton(item);
        GdiFlush();
        return drawn;
    }
    std::uint32_t At(int x, int y) const { return pixels_[y * width_ + x] & 0xFFFFFF; }
    HDC Dc() const { return dc_; }
    // The picture as a .bmp file.
    void Save(const std::string& path) const {
        const DWORD size = static_cast<DWORD>(width_ * height_ * 4);
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + size;
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof header;
        header.biWidth = width_;
        header.biHeight = -height_;
        header.biPlanes = 1;
        header.biBitCount = 32;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&header), sizeof header);
        out.write(reinterpret_cast<const char*>(pixels_), size);
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    std::uint32_t* pixels_ = nullptr;
};

constexpr std::uint32_t White = 0xFFFFFF, Silver = 0xC0C0C0, Grey = 0x808080, Red = 0xFF0000, Maroon = 0x800000;

TEST(PanelButtonFaces, FacesAreCentredInLargeButtons) {
    SetAppInstance(GetModuleHandleA(nullptr));
    Canvas canvas(24);
    // 20 x 20 at (2, 2): the face starts three pixels in, at (5, 5).
    ASSERT_TRUE(canvas.Draw(IDC_STOP, 0, RECT{2, 2, 22, 22}));
    EXPECT_EQ(canvas.At(4, 4), White) << "outside the face nothing is drawn";
    EXPECT_EQ(canvas.At(5, 5), Silver);
    EXPECT_EQ(canvas.At(8, 8), Maroon) << "the square's edge";
    EXPECT_EQ(canvas.At(11, 11), Red);
    EXPECT_EQ(canvas.At(18, 18), Silver);
    EXPECT_EQ(canvas.At(19, 19), White);

    ASSERT_TRUE(canvas.Draw(IDC_STOP, ODS_DISABLED, RECT{2, 2, 22, 22}));
    EXPECT_EQ(canvas.At(11, 11), Grey);
    ASSERT_TRUE(canvas.Draw(IDC_STOP, ODS_SELECTED | ODS_DISABLED, RECT{2, 2, 22, 22}));
    EXPECT_EQ(canvas.At(8, 8), Silver) << "the pushed face is one pixel further in";
    EXPECT_EQ(canvas.At(9, 9), Maroon);
}

TEST(PanelButtonFaces, SlightlySmallButtonsShowTheFacePixelForPixelWithoutItsMargin) {
    SetAppInstance(GetModuleHandleA(nullptr));
    Canvas canvas(24);
    // 13 x 12 at (2, 2), as Wine lays the panel out: face columns 0-12, rows 1-12.
    ASSERT_TRUE(canvas.Draw(IDC_STOP, 0, RECT{2, 2, 15, 14}));
    EXPECT_EQ(canvas.At(2, 2), Silver);
    EXPECT_EQ(canvas.At(5, 4), Maroon) << "the square's top-left edge, face (3, 3)";
    EXPECT_EQ(canvas.At(6, 5), Red);
    EXPECT_EQ(canvas.At(12, 11), Maroon) << "its bottom-right edge, face (10, 10)";
    EXPECT_EQ(canvas.At(11, 10), Red);
    EXPECT_EQ(canvas.At(14, 13), Silver);
    EXPECT_EQ(canvas.At(15, 13), White) << "nothing beyond the button";
    EXPECT_EQ(canvas.At(14, 14), White);
}

TEST(PanelButtonFaces, SmallButtonsShowTheFaceScaledFromTheirCorner) {
    SetAppInstance(GetModuleHandleA(nullptr));
    Canvas canvas(24);
    // 7 x 7 at (3, 3): smaller than the picture, so it is scaled down.
    ASSERT_TRUE(canvas.Draw(IDC_STOP, 0, RECT{3, 3, 10, 10}));
    EXPECT_EQ(canvas.At(2, 2), White);
    EXPECT_EQ(canvas.At(3, 3), Silver) << "the face's margin at the button's corner";
    EXPECT_EQ(canvas.At(6, 6), Red) << "the middle of the square";
    EXPECT_EQ(canvas.At(10, 10), White) << "nothing beyond the button";
    EXPECT_EQ(canvas.At(10, 6), White);
}

TEST(PanelButtonFaces, VolumeBarAndUnknownControlsAreLeftAlone) {
    SetAppInstance(GetModuleHandleA(nullptr));
    Canvas canvas(24);
    EXPECT_FALSE(canvas.Draw(IDC_VOLUME_BAR, 0, RECT{0, 0, 20, 20}));
    EXPECT_FALSE(canvas.Draw(IDC_STATUS, 0, RECT{0, 0, 20, 20}));
    for (int xy = 0; xy < 24; xy += 3) EXPECT_EQ(canvas.At(xy, xy), White);
}

// The face's pixels in a square of the canvas: the bounding box of those not of the
// background colour, and whether every one is of the allowed colours.
struct Picture {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool onlyAllowed = true;
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

Picture PictureIn(const Canvas& canvas, int from, int to, std::uint32_t background,
                  std::initializer_list<std::uint32_t> allowed) {
    Picture picture;
    for (int y = from; y < to; ++y) {
        for (int x = from; x < to; ++x) {
            const std::uint32_t pixel = canvas.At(x, y);
            if (pixel == background) continue;
            bool known = false;
            for (std::uint32_t colour : allowed) known = known || pixel == colour;
            picture.onlyAllowed = picture.onlyAllowed && known;
            picture.left = std::min(picture.left, x);
            picture.top = std::min(picture.top, y);
            picture.right = std::max(picture.right, x);
            picture.bottom = std::max(picture.bottom, y);
        }
    }
    return picture;
}

// At 150 % and more the face grows with its button, from the art drawn at two and three
// times, pixel by pixel: the stop square is 8 pixels at 96 DPI and scales with the
// screen, its edges and fill staying the art's own colours.
TEST(PanelButtonFaces, FacesGrowWithTheScreensScaleAndStayCrisp) {
    SetAppInstance(GetModuleHandleA(nullptr));
    ResetShell();
    for (int dpi : {96, 120, 144, 192, 288}) {
        Shell().panelDpi = dpi;
        const int face = ScaledToDpi(PanelFaceSize, dpi);
        Canvas canvas(face + 4);
        ASSERT_TRUE(canvas.Draw(IDC_STOP, 0, RECT{2, 2, 2 + face, 2 + face})) << dpi;
        const Picture square = PictureIn(canvas, 2, 2 + face, Silver, {Maroon, Red});
        const int expected = 8 * dpi / 96;
        EXPECT_NEAR(square.Width(), expected, 1) << dpi;
        EXPECT_NEAR(square.Height(), expected, 1) << dpi;
        EXPECT_TRUE(square.onlyAllowed) << dpi << ": a pixel blended from two colours";
        EXPECT_EQ(canvas.At(2 + face / 2, 2 + face / 2), Red) << dpi;
    }
    ResetShell();
}

// The system's colours for the time of a test.
class SystemColours {
public:
    SystemColours(std::initializer_list<std::pair<int, COLORREF>> colours) {
        for (const auto& [element, colour] : colours) {
            elements_.push_back(element);
            saved_.push_back(GetSysColor(element));
            wanted_.push_back(colour);
        }
        SetSysColors(static_cast<int>(elements_.size()), elements_.data(), wanted_.data());
    }
    ~SystemColours() { SetSysColors(static_cast<int>(elements_.size()), elements_.data(), saved_.data()); }

private:
    std::vector<int> elements_;
    std::vector<COLORREF> saved_, wanted_;
};

constexpr std::uint32_t Black = 0x000000, Green = 0x00FF00, Magenta = 0xFF00FF;

// Under a high-contrast theme the faces take the theme's colours: the picture in the
// button text's colour on the button's, a disabled one in grey text, of the normal
// picture's shape.
TEST(PanelButtonFaces, HighContrastDrawsThePictureInTheSystemsColours) {
    SetAppInstance(GetModuleHandleA(nullptr));
    ResetShell();
    const SystemColours theme{{COLOR_BTNFACE, RGB(0, 0, 0)}, {COLOR_BTNTEXT, RGB(255, 255, 255)},
                              {COLOR_GRAYTEXT, RGB(0, 255, 0)}};
    Shell().highContrast = true;
    struct Case {
        UINT state;
        std::uint32_t colour;
        int left, top; // of the square, in the canvas
    };
    for (const Case& c : {Case{0, White, 5, 5}, Case{ODS_SELECTED, White, 6, 6}, Case{ODS_DISABLED, Green, 5, 5}}) {
        Canvas canvas(18);
        ASSERT_TRUE(canvas.Draw(IDC_STOP, c.state, RECT{2, 2, 16, 16}));
        EXPECT_EQ(canvas.At(2, 2), Black) << c.state << ": the face's margin";
        const Picture square = PictureIn(canvas, 2, 16, Black, {c.colour});
        EXPECT_TRUE(square.onlyAllowed) << c.state;
        EXPECT_EQ(square.left, c.left) << c.state;
        EXPECT_EQ(square.top, c.top) << c.state;
        EXPECT_EQ(square.Width(), 8) << c.state;
        EXPECT_EQ(square.Height(), 8) << c.state;
    }
    ResetShell();
}

// The focused button shows a dotted frame just inside its edge, and nothing else changes.
TEST(PanelButtonFaces, TheFocusIsAFrameInsideTheButton) {
    SetAppInstance(GetModuleHandleA(nullptr));
    ResetShell();
    Canvas plain(24), focused(24);
    ASSERT_TRUE(plain.Draw(IDC_PAUSE, 0, RECT{2, 2, 22, 22}));
    ASSERT_TRUE(focused.Draw(IDC_PAUSE, ODS_FOCUS, RECT{2, 2, 22, 22}));
    int framePixelsChanged = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const bool onFrame = (x == 3 || x == 20 || y == 3 || y == 20) && x >= 3 && x <= 20 && y >= 3 && y <= 20;
            if (plain.At(x, y) == focused.At(x, y)) continue;
            EXPECT_TRUE(onFrame) << x << "," << y;
            ++framePixelsChanged;
        }
    }
    EXPECT_GT(framePixelsChanged, 20) << "a dotted frame all round";
    Canvas hidden(24);
    ASSERT_TRUE(hidden.Draw(IDC_PAUSE, ODS_FOCUS | ODS_NOFOCUSRECT, RECT{2, 2, 22, 22}));
    for (int xy = 3; xy <= 20; ++xy) EXPECT_EQ(hidden.At(xy, 3), plain.At(xy, 3)) << "cues hidden until the keyboard is used";
}

// Moved to a monitor of twice the scale (WM_DPICHANGED), the panel draws its faces
// twice as large in the buttons that Windows' dialog manager lays out anew.
TEST_F(PanelWindowTest, OnAScreenOfAnotherScaleTheFacesFollow) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    RECT frame;
    GetWindowRect(window_, &frame);
    RECT suggested{frame.left, frame.top, frame.left + 2 * (frame.right - frame.left),
                   frame.top + 2 * (frame.bottom - frame.top)};
    constexpr UINT DpiChanged = 0x02E0;
    SendMessageW(window_, DpiChanged, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(Shell().panelDpi, 192);
    // Wine's dialog manager does not lay the panel out again; the Stop button is given
    // the size Windows' would give it.
    HWND stop = GetDlgItem(window_, IDC_STOP);
    const RECT place = PlaceOf(window_, stop);
    MoveWindow(stop, place.left, place.top, 2 * (place.right - place.left), 2 * (place.bottom - place.top), TRUE);
    RECT client;
    GetClientRect(stop, &client);
    Canvas canvas(static_cast<int>(std::max(client.right, client.bottom)));
    SendMessageW(stop, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    GdiFlush();
    const Picture square = PictureIn(canvas, 0, std::min(client.right, client.bottom), Silver, {Maroon, Red, White});
    EXPECT_NEAR(square.Width(), 16, 1) << "the 8-pixel square at twice the scale";
    EXPECT_NEAR(square.Height(), 16, 1);
}

// Under a high-contrast theme the whole panel is in the theme's colours (here those of
// High Contrast Black): the faces' pictures in the button text's colour, grey text for a
// disabled one, on black. Wine reports no theme as high-contrast, so the test tells the
// panel that one is on, as the system would. With TUNOVA_PICTURES naming a folder the
// panel's picture is left there (panel-high-contrast.bmp), for the README.
TEST_F(PanelWindowTest, UnderAHighContrastThemeThePanelIsInTheThemesColours) {
    const SystemColours theme{{COLOR_BTNFACE, RGB(0, 0, 0)},        {COLOR_BTNTEXT, RGB(255, 255, 255)},
                              {COLOR_GRAYTEXT, RGB(0, 255, 0)},     {COLOR_WINDOW, RGB(0, 0, 0)},
                              {COLOR_WINDOWTEXT, RGB(255, 255, 255)}, {COLOR_BTNSHADOW, RGB(128, 128, 128)},
                              {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)}, {COLOR_WINDOWFRAME, RGB(255, 255, 255)}};
    Start("album.disc");
    SendMessageW(window_, WM_SYSCOLORCHANGE, 0, 0);
    Shell().highContrast = true;
    Command(IDM_SHOW_CONTROLS);
    Command(IDM_PAUSE);
    // The panel's client area drawn as on the screen: each child's client area printed
    // by itself and copied to its place (a button clips its drawing to its client
    // rectangle in device units, so it cannot be printed at an offset), then the sunken
    // edge of WS_EX_STATICEDGE, which Wine's WM_PRINT leaves out, drawn as Windows draws
    // it. A pixel left magenta was drawn by no one.
    RECT client;
    GetClientRect(window_, &client);
    Canvas panel(client.right, client.bottom, Magenta);
    SendMessageW(window_, WM_ERASEBKGND, reinterpret_cast<WPARAM>(panel.Dc()), 0);
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT inside;
        GetClientRect(child, &inside);
        MapWindowPoints(child, window_, reinterpret_cast<POINT*>(&inside), 2);
        Canvas alone(inside.right - inside.left, inside.bottom - inside.top, Magenta);
        SendMessageW(child, WM_ERASEBKGND, reinterpret_cast<WPARAM>(alone.Dc()), 0);
        SendMessageW(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(alone.Dc()), PRF_CLIENT);
        GdiFlush();
        BitBlt(panel.Dc(), inside.left, inside.top, inside.right - inside.left, inside.bottom - inside.top, alone.Dc(),
               0, 0, SRCCOPY);
        RECT place = PlaceOf(window_, child);
        if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_STATICEDGE) DrawEdge(panel.Dc(), &place, BDR_SUNKENOUTER, BF_RECT);
    }
    GdiFlush();
    for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP, IDC_PREVIOUS, IDC_NEXT, IDC_EJECT}) {
        HWND button = GetDlgItem(window_, id);
        RECT face;
        GetClientRect(button, &face);
        MapWindowPoints(button, window_, reinterpret_cast<POINT*>(&face), 2);
        IntersectRect(&face, &face, &client); // what shows of it
        int shown = 0;
        for (int y = face.top; y < face.bottom; ++y) {
            for (int x = face.left; x < face.right; ++x) {
                const std::uint32_t pixel = panel.At(x, y);
                EXPECT_TRUE(pixel == Black || pixel == White || pixel == Green) << id << " at " << x << "," << y;
                shown += pixel != Black;
            }
        }
        EXPECT_GT(shown, 10) << id << ": the picture shows";
    }
    if (const char* folder = std::getenv("TUNOVA_PICTURES")) panel.Save(std::string(folder) + "\\panel-high-contrast.bmp");
    Shell().highContrast = false;
}

TEST_F(PanelWindowTest, DraggingFollowsTheMouseLeftOfTheScreenToo) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    SetWindowPos(window_, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(ProgramOptions().ControlsX, 100);
    ASSERT_EQ(ProgramOptions().ControlsY, 100);

    // Pressed on the frame at (110, 105): the panel keeps that grip while it moves.
    SendMessageA(window_, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(110, 105));
    EXPECT_TRUE(Shell().dragging);
    EXPECT_EQ(GetCapture(), window_);
    SetDlgItemTextA(window_, IDC_STATUS, "held");
    StatusTick();
    EXPECT_EQ(ItemText(window_, IDC_STATUS), "held") << "the line keeps its text while dragging";

    struct Case {
        int clientX, clientY; // relative to the panel's client area, as the captured mouse reports
    };
    for (const Case& c : {Case{50, 40}, Case{-200, -150}, Case{-5, 30}}) {
        POINT screen{c.clientX, c.clientY};
        ClientToScreen(window_, &screen);
        SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(c.clientX, c.clientY));
        RECT frame;
        GetWindowRect(window_, &frame);
        EXPECT_EQ(frame.left, screen.x - 10) << c.clientX;
        EXPECT_EQ(frame.top, screen.y - 5) << c.clientY;
        EXPECT_EQ(ProgramOptions().ControlsX, frame.left);
        EXPECT_EQ(ProgramOptions().ControlsY, frame.top);
    }
    RECT frame;
    GetWindowRect(window_, &frame);
    EXPECT_LT(frame.left, 0) << "dragged off the left edge, not to the far right";

    SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
    EXPECT_FALSE(Shell().dragging);
    EXPECT_EQ(GetCapture(), nullptr);
    StatusTick();
    EXPECT_NE(ItemText(window_, IDC_STATUS), "held");

    // A drag whose capture is taken away ends with it.
    SendMessageA(window_, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(Shell().dragging);
    ReleaseCapture();
    EXPECT_FALSE(Shell().dragging);
}

TEST_F(PanelWindowTest, StoredPositionFollowsMovesOnlyAndOnTopKeepsThePanelTopmost) {
    Start("album.disc");
    ProgramOptions().ControlsOnTop = 1;
    Command(IDM_SHOW_CONTROLS);
    SetWindowPos(window_, HWND_NOTOPMOST, 120, 90, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(ProgramOptions().ControlsX, 120);
    EXPECT_EQ(ProgramOptions().ControlsY, 90);
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) << "put back into the topmost band";
    // A change of z-order alone is no move.
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(ProgramOptions().ControlsX, 120);
    EXPECT_EQ(ProgramOptions().ControlsY, 90);
    RECT frame;
    GetWindowRect(window_, &frame);
    EXPECT_EQ(frame.left, 120);
}

// Always Visible changed while the panel is hidden (the Options page's OK) takes effect
// when the panel is shown, and a drag keeps it.
TEST_F(PanelWindowTest, ShowingThePanelAppliesAlwaysVisibleAsItIsNow) {
    Start("album.disc");
    const auto topmost = [this] { return (GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    ProgramOptions().ControlsOnTop = 1;
    Command(IDM_SHOW_CONTROLS);
    ASSERT_TRUE(topmost());
    Command(IDM_HIDE_CONTROLS);
    ProgramOptions().ControlsOnTop = 0;
    Command(IDM_SHOW_CONTROLS);
    EXPECT_FALSE(topmost());
    SendMessageA(window_, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
    SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(20, 10));
    SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(20, 10));
    EXPECT_FALSE(topmost()) << "after a drag";
    Command(IDM_HIDE_CONTROLS);
    ProgramOptions().ControlsOnTop = 1;
    Command(IDM_SHOW_CONTROLS);
    EXPECT_TRUE(topmost());
}

TEST_F(PanelWindowTest, HiddenPanelIsNotDraggedAndHidingEndsADrag) {
    Start("album.disc");
    SendMessageA(window_, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
    EXPECT_FALSE(Shell().dragging);
    EXPECT_EQ(GetCapture(), nullptr);

    Command(IDM_SHOW_CONTROLS);
    SendMessageA(window_, WM_LBUTTONDOWN, 0, MAKELPARAM(3, 3));
    ASSERT_TRUE(Shell().dragging);
    Command(IDM_HIDE_CONTROLS); // Hide Controls from the panel's menu
    EXPECT_FALSE(Shell().dragging);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PanelWindowTest, HeldNextButtonScansForwardAndPlayResumesWhereTheScanEnded) {
    Start("album.disc");
    Command(IDM_SHOW_CONTROLS);
    HWND next = GetDlgItem(window_, IDC_NEXT);
    SendMessageA(next, BM_SETSTATE, TRUE, 0);
    ASSERT_TRUE(SendMessageA(next, BM_GETSTATE, 0, 0) & BST_PUSHED);
    // The first idle tick, five held ticks, then 2 s a tick.
    for (int i = 0; i < 100 && Shell().posMinute * 60 + Shell().posSecond < 20; ++i) Pump(50);
    EXPECT_GT(Shell().scanCount, 0);
    EXPECT_EQ(Shell().playState, Playing);
    EXPECT_EQ(Shell().currentTrack, 1);
    const std::string line = ItemText(window_, IDC_STATUS);
    EXPECT_EQ(line.rfind("Playing (1) 0:", 0), 0u) << line;

    SendMessageA(next, BM_SETSTATE, FALSE, 0);
    for (int i = 0; i < 40 && Shell().scanCount != 0; ++i) Pump(25);
    ASSERT_EQ(Shell().scanCount, 0);
    const int scanned = Shell().posMinute * 60 + Shell().posSecond;
    EXPECT_GE(scanned, 20);
    std::int32_t track = 0, minute = 0, second = 0, frame = 0;
    ASSERT_EQ(GetPlayPosition(&track, &minute, &second, &frame), 1);
    EXPECT_EQ(track, 1);
    EXPECT_GE(minute * 60 + second, scanned);
    EXPECT_LE(minute * 60 + second, scanned + 2);
    EXPECT_EQ(GetDeviceMode(), Playing);
}

// A forward scan off the end of the disc stops the drive; the panel and the menu then
// offer Play, not Pause, and the status line says Stopped.
TEST_F(PanelWindowTest, AScanOffTheEndOfTheDiscLeavesEveryViewStopped) {
    Start("onetrack.disc");
    Command(IDM_SHOW_CONTROLS);
    // Near the end of the 2:57 track: a few scan steps run off it.
    ASSERT_EQ(PlayFrom(PlayRequest{1, 2, 50, 0, 0}), Playing);
    Shell().posMinute = 2;
    Shell().posSecond = 50;
    HWND next = GetDlgItem(window_, IDC_NEXT);
    SendMessageA(next, BM_SETSTATE, TRUE, 0);
    for (int i = 0; i < 200 && Shell().playState == Playing; ++i) Pump(25);
    SendMessageA(next, BM_SETSTATE, FALSE, 0);
    ASSERT_EQ(Shell().playState, Stopped);
    EXPECT_EQ(GetDeviceMode(), Stopped);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, IDC_PLAY)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, IDC_PAUSE)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window_, IDC_STOP)));
    EXPECT_EQ(ItemText(window_, IDC_STATUS), "Stopped");
    EXPECT_FALSE(::Grey(TrayMenu(), IDM_PLAY));
    EXPECT_TRUE(::Grey(TrayMenu(), IDM_PAUSE));
}

} // namespace
