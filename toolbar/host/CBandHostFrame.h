#pragma once
// BandHost's window: stands in for the browser that shows the toolbar band.
// It is the band's site (its band area is the site window) and offers a
// browser that opens addresses with the desktop's handler.

#include <memory>

#include <wx/frame.h>

#include "toolbar/BandSite.h"

class CToolBand;
class wxPanel;

class CBandHostFrame : public wxFrame, public IBandSite {
public:
    // browser null: addresses open with xdg-open.
    explicit CBandHostFrame(std::shared_ptr<IBandBrowser> browser = nullptr);
    ~CBandHostFrame() override;

    // Sites the band and shows its window in the band area; false when the
    // band refuses the site.
    bool HostBand(std::unique_ptr<CToolBand> band);
    CToolBand* band() const { return m_pBand.get(); }

    // IBandSite
    wxWindow* GetSiteWindow() override;
    std::shared_ptr<IBandBrowser> QueryBrowser() override;

private:
    void ReleaseBand();

    wxPanel* m_pBandArea = nullptr;
    std::shared_ptr<IBandBrowser> m_pBrowser;
    std::unique_ptr<CToolBand> m_pBand;
};
