// A notification area as the shell's documentation describes it, for the icon's record
// and behaviour: a shell takes records up to the size of its own version and refuses
// larger ones, knows NIM_SETVERSION and NIM_SETFOCUS from version 5.0 on and behaviour
// 4 from Vista on, and refuses to add an icon twice or to change one it does not hold.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/win32/notificationarea.h"

class FakeNotificationArea : public NotificationArea {
public:
    struct Call {
        DWORD message;
        DWORD size;
        UINT flags;
        UINT version;
        UINT callback;
        HICON icon;
        std::wstring tip;
        BOOL result;
    };

    // present false: a desktop without a notification area, which refuses every icon.
    FakeNotificationArea(unsigned major, unsigned minor, unsigned build, bool present = true)
        : major_(major), minor_(minor), build_(build), present_(present) {
        InstallNotificationArea(this);
    }
    ~FakeNotificationArea() override { InstallNotificationArea(nullptr); }

    void Version(unsigned* major, unsigned* minor, unsigned* build) override {
        *major = major_;
        *minor = minor_;
        *build = build_;
    }

    BOOL Notify(DWORD message, NOTIFYICONDATAW* record) override {
        Call call{message, record->cbSize, record->uFlags, 0, 0, nullptr, {}, FALSE};
        if (record->cbSize > NOTIFYICONDATAW_V1_SIZE) call.version = record->uVersion;
        if (record->uFlags & NIF_MESSAGE) call.callback = record->uCallbackMessage;
        if (record->uFlags & NIF_ICON) call.icon = record->hIcon;
        if (record->uFlags & NIF_TIP) call.tip = record->szTip;
        call.result = Answer(message, *record);
        calls.push_back(call);
        return call.result;
    }

    // A new Explorer: it holds no icon.
    void Restart() { holds_ = false; }

    // The calls of one kind, in order.
    std::vector<Call> Of(DWORD message) const {
        std::vector<Call> found;
        for (const Call& call : calls) {
            if (call.message == message) found.push_back(call);
        }
        return found;
    }

    std::vector<Call> calls;

private:
    bool AtLeast(unsigned major, unsigned minor, unsigned build) const {
        if (major_ != major) return major_ > major;
        if (minor_ != minor) return minor_ > minor;
        return build_ >= build;
    }
    DWORD LargestRecord() const {
        if (AtLeast(6, 0, 6000)) return sizeof(NOTIFYICONDATAW) + sizeof(HICON);
        if (AtLeast(6, 0, 0)) return sizeof(NOTIFYICONDATAW);
        if (AtLeast(5, 0, 0)) return NOTIFYICONDATAW_V2_SIZE;
        return NOTIFYICONDATAW_V1_SIZE;
    }
    BOOL Answer(DWORD message, const NOTIFYICONDATAW& record) {
        if (!present_ || record.cbSize > LargestRecord() || record.cbSize < NOTIFYICONDATAW_V1_SIZE) return FALSE;
        switch (message) {
        case NIM_ADD:
            if (holds_) return FALSE;
            holds_ = true;
            return TRUE;
        case NIM_MODIFY:
            return holds_;
        case NIM_DELETE:
            if (!holds_) return FALSE;
            holds_ = false;
            return TRUE;
        case NIM_SETFOCUS:
            return holds_ && AtLeast(5, 0, 0);
        case NIM_SETVERSION:
            if (!holds_ || !AtLeast(5, 0, 0)) return FALSE;
            if (record.uVersion == 4 && !AtLeast(6, 0, 6000)) return FALSE;
            return record.uVersion == 0 || record.uVersion == 3 || record.uVersion == 4;
        default:
            return FALSE;
        }
    }

    unsigned major_, minor_, build_;
    bool present_;
    bool holds_ = false;
};
