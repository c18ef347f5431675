#include "toolbar/CToolBand.h"

#include "toolbar/BandIds.h"
#include "toolbar/BandRegistration.h"
#include "toolbar/CBandStripApp.h"
#include "toolbar/CKVToolBarCtrl.h"
#include "toolbar/CToolBarWnd.h"

CToolBand::CToolBand() {
    CBandStripApp::Instance().AddObject();
}

CToolBand::~CToolBand() {
    DestroyWindows();
    CBandStripApp::Instance().ReleaseObject();
}

platform::HRESULT CToolBand::SetSite(IBandSite* site) {
    m_pSite = site;
    if (!site) return platform::S_OK;
    m_hParentWnd = site->GetSiteWindow();
    if (!m_hParentWnd) return platform::E_FAIL;
    m_pWebBrowser = site->QueryBrowser();
    if (m_pWebBrowser) m_pWebBrowser->ShowBrowserBar(kShownBrowserBar, true);
    if (!CreateWindows()) return platform::E_FAIL;
    return platform::S_OK;
}

platform::HRESULT CToolBand::GetSite(IBandSite** site) const {
    if (!site) return platform::E_INVALIDARG;
    *site = nullptr;
    if (!m_pSite) return platform::E_FAIL;
    *site = m_pSite;
    return platform::S_OK;
}

platform::HRESULT CToolBand::GetWindow(wxWindow** window) const {
    if (!window) return platform::E_INVALIDARG;
    *window = m_ToolBar.get();
    return platform::S_OK;
}

platform::HRESULT CToolBand::ContextSensitiveHelp(bool) const {
    return platform::E_NOTIMPL;
}

platform::HRESULT CToolBand::ShowDW(bool show) {
    if (m_ToolBar) m_ToolBar->Show(show);
    return platform::S_OK;
}

platform::HRESULT CToolBand::CloseDW(platform::DWORD) {
    ShowDW(false);
    return platform::S_OK;
}

platform::HRESULT CToolBand::ResizeBorderDW() const {
    return platform::E_NOTIMPL;
}

platform::HRESULT CToolBand::GetBandInfo(platform::DWORD bandId, platform::DWORD viewMode, DESKBANDINFO* info) {
    if (!info) return platform::E_INVALIDARG;
    m_dwBandID = bandId;
    m_dwViewMode = viewMode;
    if (info->dwMask & DBIM_MINSIZE) info->ptMinSize = {kMinWidth, kHeight};
    if (info->dwMask & DBIM_MAXSIZE) info->ptMaxSize = {-1, kHeight};
    if (info->dwMask & DBIM_INTEGRAL) info->ptIntegral = {0, 0};
    if (info->dwMask & DBIM_ACTUAL) info->ptActual = {0, kHeight};
    if (info->dwMask & DBIM_TITLE) info->wszTitle.clear();
    if (info->dwMask & DBIM_MODEFLAGS) info->dwModeFlags = kModeFlags;
    // The host's own background colour.
    info->dwMask &= ~DBIM_BKCOLOR;
    return platform::S_OK;
}

platform::HRESULT CToolBand::UpdateRegistry(bool doRegister) {
    return doRegister ? band_registration::ApplyToolBandScript(band_registration::ModulePath())
                      : band_registration::RemoveToolBandScript();
}

void CToolBand::NavigateToMakerPage() {
    if (m_pWebBrowser) m_pWebBrowser->Navigate2(kMakerPage);
}

bool CToolBand::CreateWindows() {
    // A new site gets windows of its own.
    DestroyWindows();
    const wxRect rect(wxPoint(0, 0), m_hParentWnd->GetClientSize());
    auto* host = new CToolBarWnd;
    if (!host->Create(m_hParentWnd, rect)) {
        delete host;
        return false;
    }
    m_pWnd = host;
    auto* toolbar = new CKVToolBarCtrl;
    m_ToolBar = toolbar;
    if (!toolbar->Create(rect, host, this)) {
        DestroyWindows();
        return false;
    }
    return true;
}

void CToolBand::DestroyWindows() {
    if (m_ToolBar) m_ToolBar->Destroy();
    if (m_pWnd) m_pWnd->Destroy();
}
