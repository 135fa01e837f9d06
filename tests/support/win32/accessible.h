// Controls as a screen reader knows them: their names as the accessibility layer gives
// them (AccessibleObjectFromWindow, accName), and the label Windows names an edit, a list
// or a drop-down by.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>

#include "platform/win32/widetext.h"

// The control's name through the accessibility layer; "<none>" when it has none.
inline std::string AccessibleName(HWND control) {
    CoInitialize(nullptr);
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return "<no accessible object>";
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT result = object->get_accName(self, &name);
    object->Release();
    if (result != S_OK || !name) return "<none>";
    const std::string text = WideToUtf8(name, SysStringLen(name));
    SysFreeString(name);
    return text;
}

// The label Windows' accessibility layer names a list, an edit, a drop-down or a spin by
// (the documented rule): the text of the nearest static control before it in the window
// order, unless a control that starts a group and is a tab stop comes first. "<none>"
// when no label is found. Wine's layer follows the rule for edits only, and names the
// others by their own texts.
inline std::string WindowsLabelOf(HWND control) {
    for (HWND before = GetWindow(control, GW_HWNDPREV); before; before = GetWindow(before, GW_HWNDPREV)) {
        wchar_t className[32] = {};
        GetClassNameW(before, className, 32);
        if (lstrcmpiW(className, L"Static") == 0) {
            const int length = GetWindowTextLengthW(before);
            if (length <= 0) return "<none>";
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            GetWindowTextW(before, &text[0], length + 1);
            text.resize(static_cast<size_t>(length));
            return WideToUtf8(text);
        }
        const LONG style = GetWindowLongW(before, GWL_STYLE);
        if ((style & (WS_GROUP | WS_TABSTOP)) == (WS_GROUP | WS_TABSTOP)) break;
    }
    return "<none>";
}
