// A modeless component sheet showing one page over the fixture's components, for the tests of
// the pages: list choices and clicks reach the page as the notifications its controls send.
#pragma once
#include "od_edit_fixture.h"
#include "ODPropSheet.h"

template <class Page>
struct PageSheet {
    CODCompPropSheet sheet;
    Page* page = nullptr;
    PageSheet(EditFixture& f, CODComponentSet& set, int pageIndex)
        : sheet(&set, &f.view, "Component Properties", CODCompPropSheet::s_pageBits[pageIndex])
    {
        EXPECT_TRUE(sheet.Create(&f.host, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                               DS_3DLOOK | DS_SETFONT, 0));
        page = static_cast<Page*>(sheet.GetPropPage(pageIndex));
        sheet.SetActivePage(page);
    }
    ~PageSheet()
    {
        if (sheet.GetSafeHwnd())
            sheet.DestroyWindow();
    }
    void Choose(CListBox& list, int index)
    {
        list.SetCurSel(index);
        page->SendMessage(WM_COMMAND, MAKEWPARAM(list.GetDlgCtrlID(), LBN_SELCHANGE),
                          (LPARAM)list.GetSafeHwnd());
    }
    void Report(ODPageRecord& r) { page->GetPageData(&r); }
    BOOL AnyChange()
    {
        ODPageRecord r;
        Report(r);
        return r.word0;
    }
    CButton* Box(UINT id) { return (CButton*)page->GetDlgItem(id); }
};
