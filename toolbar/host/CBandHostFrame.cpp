#include "toolbar/host/CBandHostFrame.h"

#include <algorithm>

#include <wx/panel.h>
#include <wx/sizer.h>

#include "platform/Process.h"
#include "toolbar/BandIds.h"
#include "toolbar/CToolBand.h"

namespace {

constexpr int kFrameWidth = 720;

// Addresses go to the desktop's handler, the address as one argument.
class CDesktopBrowser : public IBandBrowser {
public:
    void Navigate2(const std::string& url) override { platform::StartProcess("xdg-open", {url}); }
    // The desktop has no browser bars to show.
    void ShowBrowserBar(const std::string&, bool) override {}
};

}  // namespace

CBandHostFrame::CBandHostFrame(std::shared_ptr<IBandBrowser> browser)
    : wxFrame(nullptr, wxID_ANY, kToolBandName),
      m_pBrowser(browser ? std::move(browser) : std::make_shared<CDesktopBrowser>()) {
    m_pBandArea = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(kFrameWidth, CToolBand::kHeight));
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_pBandArea, 0, wxEXPAND);
    SetSizerAndFit(sizer);
}

CBandHostFrame::~CBandHostFrame() {
    ReleaseBand();
}

bool CBandHostFrame::HostBand(std::unique_ptr<CToolBand> band) {
    ReleaseBand();
    m_pBand = std::move(band);
    if (!m_pBand || m_pBand->SetSite(this) != platform::S_OK) {
        ReleaseBand();
        return false;
    }
    DESKBANDINFO info;
    info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE | DBIM_MODEFLAGS;
    m_pBand->GetBandInfo(0, 0, &info);
    wxWindow* window = nullptr;
    m_pBand->GetWindow(&window);
    // As a browser's band bar does, the band's window moves into the bar.
    // The band's minimum width shows only part of the toolbar: the window
    // opens as wide as the toolbar's items reach.
    wxSize area(info.ptMinSize.x, info.ptMinSize.y);
    if (window) {
        window->Reparent(m_pBandArea);
        const wxSize items = window->GetBestSize();
        area.x = std::max(area.x, items.x);
        window->SetSize(0, 0, std::max(window->GetSize().x, items.x), area.y);
    }
    m_pBandArea->SetMinSize(area);
    m_pBand->ShowDW(true);
    Fit();
    return true;
}

wxWindow* CBandHostFrame::GetSiteWindow() {
    return m_pBandArea;
}

std::shared_ptr<IBandBrowser> CBandHostFrame::QueryBrowser() {
    return m_pBrowser;
}

void CBandHostFrame::ReleaseBand() {
    if (!m_pBand) return;
    m_pBand->CloseDW(0);
    m_pBand->SetSite(nullptr);
    m_pBand.reset();
}
