#pragma once
// The page factory: page hosts (the main window for the General page, the
// container pages for their sub-pages) make one in-process when they need a
// page, call a getter, take the page from the host's made-page slot
// (CServerHost::TakeMadePage) at once, create its window and own it.
//
// Each getter makes one page object of its class (no window yet) through
// the maker its area registered for the page's template (CPageMakers),
// leaves it in the slot and returns S_OK; the slot is empty when the page
// could not be made.

#include "platform/Types.h"

class CServerHost;

class KavelinA {
public:
    // Templates of the pages the getters make.
    static constexpr int kGeneralDlg = 551;
    static constexpr int kAdvPrivDlg = 138;
    static constexpr int kActivChainDlg = 143;
    static constexpr int kActivFilterDlg = 147;
    static constexpr int kActivProgDlg = 141;
    static constexpr int kAdvCleanerIexplorerDlg = 151;
    static constexpr int kAdvCleanerSystemDlg = 150;
    static constexpr int kAdvFltrInDlg = 145;
    static constexpr int kAdvFltrOutDlg = 144;
    static constexpr int kHunterDlg = 550;
    static constexpr int kProxyCaptureDlg = 148;

    explicit KavelinA(CServerHost& host) : m_pHost(&host) {}

    // IKavelinBase
    platform::HRESULT getGeneralDlg() { return Make(kGeneralDlg); }
    platform::HRESULT getAdvPrivDlg() { return Make(kAdvPrivDlg); }
    platform::HRESULT getActivChainDlg() { return Make(kActivChainDlg); }
    platform::HRESULT getActivFilterDlg() { return Make(kActivFilterDlg); }
    platform::HRESULT getActivProgDlg() { return Make(kActivProgDlg); }
    platform::HRESULT getAdvCleanerIexplorerDlg() { return Make(kAdvCleanerIexplorerDlg); }
    platform::HRESULT getAdvCleanerSystemDlg() { return Make(kAdvCleanerSystemDlg); }
    platform::HRESULT getAdvFltrInDlg() { return Make(kAdvFltrInDlg); }
    platform::HRESULT getAdvFltrOutDlg() { return Make(kAdvFltrOutDlg); }
    // The Proxy tab's hunter page.
    platform::HRESULT getProxyAnalyzerDlg() { return Make(kHunterDlg); }
    platform::HRESULT getProxyCaptureDlg() { return Make(kProxyCaptureDlg); }

private:
    platform::HRESULT Make(int templateId);

    CServerHost* m_pHost;
};
