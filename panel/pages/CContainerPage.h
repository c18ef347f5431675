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
        wxRect rect;  // dialog units
        std::string tip;
    };
    // Builds the header, the zones and the frame (all in dialog units);
    // subPageOffset: where sub-pages sit inside the frame (pixels).
    void BuildContainer(int headerId, const std::vector<Zone>& zones, int frameId,
                        const wxRect& frame, wxPoint subPageOffset,
                        std::vector<CSubPageSwitch::Kind> kinds);
    // The sub-page of code, not yet created, and its template.
    virtual std::unique_ptr<CBaseDlg> MakeSubPage(int code) = 0;
    virtual int TemplateOf(int code) const { return code; }

    CToolTipCtrlEx* m_pTip = nullptr;

private:
    std::unique_ptr<CSubPageSwitch> m_pSwitch;
    CAnimatedGifStatic* m_pHeader = nullptr;
    wxWindow* m_pFrame = nullptr;
    CBaseDlg* m_pSubPage = nullptr;  // a child window, owned by the toolkit
    wxPoint m_SubPageOffset;
};
