#pragma once
// The base of the tab pages that hold one sub-page at a time under a
// header picture with click zones (the Proxy and Activity tabs). The
// switch (CSubPageSwitch) decides; this window closes, makes and places the
// sub-pages inside its frame.

#include <memory>
#include <vector>

#include <wx/gdicmn.h>

#include "panel/main/CBaseDlg.h"
#include "panel/pages/CSubPageSwitch.h"
#include "panel/pages/ISubPageFrame.h"

class CAnimatedGifStatic;
class CToolTipCtrlEx;

class CContainerPage : public CBaseDlg, public ISubPageFrame {
public:
    using CBaseDlg::CBaseDlg;
    ~CContainerPage() override;

    CSubPageSwitch& Switch() { return *m_pSwitch; }
    CBaseDlg* SubPage() const { return m_pSubPage; }
    CAnimatedGifStatic* Header() const { return m_pHeader; }

    // ISubPageFrame
    void CloseSubPage() override;
    void ShowHeader(unsigned image) override;
    bool CreateSubPage(int code) override;
    void PlaceSubPage() override;
    void Repaint() override;

protected:
    struct Zone {
        int id;
        std::string tip;
    };
    // Where the header picture runs: along the top (the zones left to
    // right, the frame under it) or down the left side (the zones top to
    // bottom, the frame beside it).
    enum class eStrip { Top, Left };
    // Builds the header (thickness dialog units across), the zones over it
    // (equal parts of it) and the frame; subPageOffset: where sub-pages sit
    // inside the frame (pixels). The header's zones, the frame and the
    // sub-page follow the page's size.
    void BuildContainer(int headerId, eStrip strip, int thickness, const std::vector<Zone>& zones, int frameId,
                        wxPoint subPageOffset, std::vector<CSubPageSwitch::Kind> kinds);
    // The sub-page of code, not yet created, and its template.
    virtual std::unique_ptr<CBaseDlg> MakeSubPage(int code) = 0;
    virtual int TemplateOf(int code) const { return code; }

    CToolTipCtrlEx* m_pTip = nullptr;

private:
    void Arrange();

    std::unique_ptr<CSubPageSwitch> m_pSwitch;
    std::vector<wxWindow*> m_Zones;
    eStrip m_Strip = eStrip::Top;
    int m_Thickness = 0;  // pixels
    CAnimatedGifStatic* m_pHeader = nullptr;
    wxWindow* m_pFrame = nullptr;
    CBaseDlg* m_pSubPage = nullptr;  // a child window, owned by the toolkit
    wxPoint m_SubPageOffset;
};
