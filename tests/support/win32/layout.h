// Checks a dialog's layout as a user sees it, without restating its template: every
// control inside the client area, and no two covering each other.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

// Where a control lies in the dialog's client area, in pixels.
inline RECT PlaceOf(HWND dialog, HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline RECT PlaceOf(HWND dialog, int id) { return PlaceOf(dialog, GetDlgItem(dialog, id)); }

inline bool IsOfClass(HWND control, const wchar_t* name) {
    wchar_t className[64] = {};
    GetClassNameW(control, className, 64);
    return lstrcmpiW(className, name) == 0;
}

inline bool IsGroupBox(HWND control) {
    return IsOfClass(control, L"Button") && (GetWindowLongW(control, GWL_STYLE) & 0x0F) == BS_GROUPBOX;
}

inline bool IsSpinOf(HWND spin, HWND edit) {
    return IsOfClass(spin, UPDOWN_CLASSW) && reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)) == edit;
}

inline bool Holds(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Every control lies inside the dialog, and no two cover each other: a group box holds
// its controls whole, and a spin sits on its own edit. Places are mapped from dialog
// units one edge at a time, so neighbours may share a pixel.
inline void ExpectLaidOutApart(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back(child);
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        const RECT a = PlaceOf(dialog, controls[i]);
        EXPECT_TRUE(Holds(client, a)) << "child " << i << " reaches out of the dialog";
        for (size_t j = i + 1; j < controls.size(); ++j) {
            const RECT b = PlaceOf(dialog, controls[j]);
            if ((IsGroupBox(controls[i]) && Holds(a, b)) || (IsGroupBox(controls[j]) && Holds(b, a))) continue;
            if (IsSpinOf(controls[i], controls[j]) || IsSpinOf(controls[j], controls[i])) continue;
            const RECT shrunk{a.left, a.top, a.right - 1, a.bottom - 1};
            const RECT other{b.left, b.top, b.right - 1, b.bottom - 1};
            RECT common;
            EXPECT_FALSE(IntersectRect(&common, &shrunk, &other)) << "children " << i << " and " << j << " overlap";
        }
    }
}
