#pragma once
// The band object its host (the browser) creates through the class factory:
// given a site, it makes a hidden host window over the site window and the
// toolbar control in it, and answers the host's band questions.

#include <memory>
#include <string>

#include <wx/weakref.h>

#include "platform/Types.h"
#include "toolbar/BandSite.h"
#include "toolbar/DeskBandInfo.h"

class CKVToolBarCtrl;
class CToolBarWnd;
class wxWindow;

class CToolBand {
public:
    // The page the logo opens.
    static constexpr const char* kMakerPage = "http://www.kavelin.example/";
    static constexpr std::int32_t kMinWidth = 190;
    static constexpr std::int32_t kHeight = 22;
    static constexpr platform::DWORD kModeFlags = 8;

    CToolBand();
    ~CToolBand();
    CToolBand(const CToolBand&) = delete;
    CToolBand& operator=(const CToolBand&) = delete;

    // Object with site
    platform::HRESULT SetSite(IBandSite* site);
    platform::HRESULT GetSite(IBandSite** site) const;

    // Window
    platform::HRESULT GetWindow(wxWindow** window) const;
    platform::HRESULT ContextSensitiveHelp(bool enterMode) const;

    // Docking window
    platform::HRESULT ShowDW(bool show);
    platform::HRESULT CloseDW(platform::DWORD reserved);
    platform::HRESULT ResizeBorderDW() const;

    // Desk band
    platform::HRESULT GetBandInfo(platform::DWORD bandId, platform::DWORD viewMode, DESKBANDINFO* info);

    // Applies or removes the class's registry entries.
    static platform::HRESULT UpdateRegistry(bool doRegister);

    // Sends the site's browser, when there is one, to the maker's page.
    void NavigateToMakerPage();

private:
    bool CreateWindows();
    void DestroyWindows();

    IBandSite* m_pSite = nullptr;
    platform::DWORD m_dwBandID = 0;
    platform::DWORD m_dwViewMode = 0;
    std::shared_ptr<IBandBrowser> m_pWebBrowser;
    wxWindow* m_hParentWnd = nullptr;
    // The windows die with their parents too; the band then sees null.
    wxWeakRef<CKVToolBarCtrl> m_ToolBar;
    wxWeakRef<CToolBarWnd> m_pWnd;
};
