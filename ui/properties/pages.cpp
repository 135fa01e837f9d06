#include "ui/properties/pages.h"

#include <initializer_list>

#include "cddb/submitstate.h"
#include "discinfo/lookup.h"

PropertyPagesRecord& PropertyPages() {
    static PropertyPagesRecord record;
    return record;
}

void ClearActivePages() {
    PropertyPagesRecord& pages = PropertyPages();
    pages.cdInfoPage = nullptr;
    pages.programmingPage = nullptr;
    pages.queryPage = nullptr;
    pages.submitPage = nullptr;
}

PageNotice ChooseLookupEndNotice(WindowHandle cdInfo, WindowHandle programming, WindowHandle query,
                                 WindowHandle submit) {
    if (cdInfo) return {cdInfo, LookupEndedCdInfoMessage};
    for (WindowHandle page : {programming, query, submit})
        if (page) return {page, WorkEndedPageMessage};
    return {};
}

PageNotice ChooseSubmitEndNotice(WindowHandle submit, WindowHandle query) {
    if (submit) return {submit, WorkEndedPageMessage};
    if (query) return {query, WorkEndedPageMessage};
    return {};
}

void NotifyPageOfLookupEnd() {
    const PropertyPagesRecord& pages = PropertyPages();
    const PageNotice notice =
        ChooseLookupEndNotice(pages.cdInfoPage, pages.programmingPage, pages.queryPage, pages.submitPage);
    if (notice.window) SendWindowMessage(notice.window, notice.message);
}

void NotifyPageOfSubmitEnd() {
    const PropertyPagesRecord& pages = PropertyPages();
    const PageNotice notice = ChooseSubmitEndNotice(pages.submitPage, pages.queryPage);
    if (notice.window) SendWindowMessage(notice.window, notice.message);
}

void InstallPropertyPageNotifier() {
    DiscLookupHooks hooks = GetDiscLookupHooks();
    hooks.notifyPage = NotifyPageOfLookupEnd;
    SetDiscLookupHooks(hooks);
    SetSubmitEndNotifier(NotifyPageOfSubmitEnd);
}
