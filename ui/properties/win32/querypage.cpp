// The cddb Query page: where the lookup looks, its status, and "Query cddb Now".
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "log/logmessage.h"
#include "discinfo/querystatus.h"
#include "cddb/submitstate.h"
#include "discinfo/discinfo.h"
#include "discinfo/options.h"
#include "platform/uinotify.h"
#include "platform/win32/widetext.h"
#include "resources/resource.h"
#include "ui/properties/cddbactions.h"
#include "ui/properties/pages.h"
#include "ui/properties/query.h"
#include "ui/properties/win32/pagewindow.h"

namespace {

constexpr const char* NoSourceText =
    "No cddb sources selected.\nTo use a local copy of the database, select 'Query Local Database'.\nTo use an "
    "Internet cddb server, select 'Query Server'.\nIf both are selected, the local copy is checked, and then the "
    "Internet Server.";

// Runs on the lookup thread: the page's slot says whether the field is there to set.
void ShowStatus(const char* text) {
    if (const HWND page = static_cast<HWND>(PropertyPages().queryPage.load())) SetDlgItemTextA(page, IDC_QUERY_STATUS, text);
}

void ShowProxyFields(HWND page, bool useProxy) {
    const ProxyFieldStates states = ProxyFieldsFor(useProxy);
    EnableControl(page, IDC_QUERY_SERVERS, states.serverList);
    EnableControl(page, IDC_QUERY_PROXY_NAME, states.proxyFields);
    EnableControl(page, IDC_QUERY_PROXY_PORT, states.proxyFields);
}

void ShowQueryButton(HWND page) {
    EnableControl(page, IDC_QUERY_NOW, CddbActionEnabled(DiscInfo().lookupRunning, Submission().submitRunning != 0));
}

void Init(HWND page, PageContext&) {
    for (const std::string& server : ProgramOptions().cddbServerList)
        SendDlgItemMessageA(page, IDC_QUERY_SERVERS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(server.c_str()));
    // The fields take no more than the copy keeps, so nothing typed is dropped unseen.
    SendDlgItemMessageA(page, IDC_QUERY_ROOT_DIRECTORY, EM_LIMITTEXT, QueryRootDirectoryLength, 0);
    SendDlgItemMessageA(page, IDC_QUERY_PROXY_NAME, EM_LIMITTEXT, QueryProxyNameLength, 0);
    SendDlgItemMessageA(page, IDC_QUERY_PROXY_PORT, EM_LIMITTEXT, QueryProxyPortLength, 0);
}

void ShowCopy(HWND page, const PropertiesCopy& copy) {
    const QueryPageValues values = QueryPageFromCopy(copy);
    SetChecked(page, IDC_QUERY_LOCAL, values.queryLocal);
    SetDlgItemTextA(page, IDC_QUERY_ROOT_DIRECTORY, values.rootDirectory.c_str());
    SetChecked(page, IDC_QUERY_SERVER, values.queryServer);
    SetChecked(page, IDC_QUERY_USE_PROXY, values.useProxy);
    ShowProxyFields(page, values.useProxy);
    SendDlgItemMessageA(page, IDC_QUERY_SERVERS, CB_SETCURSEL, values.serverIndex, 0);
    SetDlgItemTextA(page, IDC_QUERY_PROXY_NAME, values.proxyName.c_str());
    SetDlgItemTextA(page, IDC_QUERY_PROXY_PORT, values.proxyPortText.c_str());
    SetChecked(page, IDC_QUERY_MUSICBRAINZ, values.queryMusicBrainz);
}

void StorePage(HWND page, PropertiesCopy& copy) {
    QueryPageValues values;
    values.queryLocal = IsChecked(page, IDC_QUERY_LOCAL);
    values.rootDirectory = ControlText(page, IDC_QUERY_ROOT_DIRECTORY);
    values.queryServer = IsChecked(page, IDC_QUERY_SERVER);
    values.useProxy = IsChecked(page, IDC_QUERY_USE_PROXY);
    values.serverIndex = static_cast<int>(SendDlgItemMessageA(page, IDC_QUERY_SERVERS, CB_GETCURSEL, 0, 0));
    values.proxyName = ControlText(page, IDC_QUERY_PROXY_NAME);
    values.proxyPortText = ControlText(page, IDC_QUERY_PROXY_PORT);
    values.queryMusicBrainz = IsChecked(page, IDC_QUERY_MUSICBRAINZ);
    StoreQueryPage(values, copy);
}

// The port field shows the port it stands for, once the focus leaves it or the page
// has stored it, so that a text that names no port is seen to change nothing.
void ShowStoredPort(HWND page, const PropertiesCopy& copy) {
    SetDlgItemTextA(page, IDC_QUERY_PROXY_PORT, QueryPageFromCopy(copy).proxyPortText.c_str());
}

void TakePort(HWND page, PropertiesCopy& copy) {
    copy.cddbProxyPort = ProxyPortFor(ControlText(page, IDC_QUERY_PROXY_PORT), copy.cddbProxyPort);
    ShowStoredPort(page, copy);
}

void Activated(HWND page, PageContext& context) {
    ShowCopy(page, context.copy);
    // The listener after the slot: a status set from here on reaches the field, and
    // the stored text shown next is at least as new as any sent before.
    SetQueryStatusListener(ShowStatus);
    SetDlgItemTextA(page, IDC_QUERY_STATUS, QueryStatusText().c_str());
    ShowQueryButton(page);
}

void Released(HWND) { SetQueryStatusListener(nullptr); }

void Store(HWND page, PageContext& context) {
    StorePage(page, context.copy);
    ShowStoredPort(page, context.copy);
}

void OnQueryNow(HWND page, PropertiesCopy& copy) {
    if (DiscInfo().lookupRunning) return;
    StorePage(page, copy);
    ShowStoredPort(page, copy);
    const auto showStarting = [page] {
        SetDlgItemTextA(page, IDC_QUERY_STATUS, "");
        EnableControl(page, IDC_QUERY_NOW, false);
    };
    switch (QueryCddbNow(copy, showStarting)) {
    case CddbActionOutcome::MissingSettings:
        MessageBoxA(page, NoSourceText, "cddb Query Error", MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
        break;
    case CddbActionOutcome::NotStarted:
        ShowQueryButton(page); // no thread: nothing will end it
        break;
    default:
        break;
    }
}

// MusicBrainz takes new discs on its web site: the browser opens its page for this one.
void OnSubmitToMusicBrainz(HWND page) {
    const std::string url = DiscSubmissionUrl();
    LogMessage("Opening the MusicBrainz submission page: ", url.c_str());
    const auto opened = reinterpret_cast<INT_PTR>(
        ShellExecuteW(page, L"open", Utf8ToWide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened > 32) return;
    LogMessageInt("Unable to open the web browser, error: ", static_cast<int>(opened));
    MessageBoxW(page, L"Unable to open the web browser.", L"Submit to MusicBrainz", MB_OK | MB_ICONERROR);
}

bool Command(HWND page, PageContext& context, int id, int code) {
    if (id == IDC_QUERY_PROXY_PORT && code == EN_KILLFOCUS) {
        TakePort(page, context.copy);
        return true;
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_QUERY_USE_PROXY:
        ShowProxyFields(page, IsChecked(page, IDC_QUERY_USE_PROXY));
        return true;
    case IDC_QUERY_NOW:
        OnQueryNow(page, context.copy);
        return true;
    case IDC_QUERY_SUBMIT_MUSICBRAINZ:
        OnSubmitToMusicBrainz(page);
        return true;
    default:
        return false;
    }
}

void WorkEnded(HWND page, PageContext&) { ShowQueryButton(page); }

} // namespace

// Takes DiscInfoLock only around the early commit of "Query cddb Now"; the status
// arrives from the lookup thread, which holds no lock while it sets the field.
const PageHandlers QueryPage = [] {
    PageHandlers page;
    page.slot = &PropertyPagesRecord::queryPage;
    page.workEndedMessage = WorkEndedPageMessage;
    page.init = Init;
    page.activated = Activated;
    page.store = Store;
    page.released = Released;
    page.command = Command;
    page.workEnded = WorkEnded;
    return page;
}();
