#pragma once
// The Advanced tab (template 135): a header picture with three click zones
// (privacy 1231, filtration 1232, cleaning 1233) over a frame (1229) that
// holds one sub-page at a time. The filtration and cleaning pages come from
// their areas' makers (CPageMakers); a page nobody made leaves the frame
// empty under its header.

#include <memory>
#include <vector>

#include "controls/CPictureImage.h"
#include "panel/main/CBaseDlg.h"
#include "panel/pages/CSubPageSwitch.h"
#include "panel/pages/ISubPageFrame.h"

class wxPaintEvent;
class CToolTipCtrlEx;

class CAdvancedDlg : public CBaseDlg, public ISubPageFrame {
public:
    using CBaseDlg::CBaseDlg;
    ~CAdvancedDlg() override;

    CSubPageSwitch& Switch() { return *m_pSwitch; }
    CBaseDlg* SubPage() const { return m_pSubPage; }
    // The header picture now loaded (0 none).
    unsigned HeaderImage() const { return m_HeaderImage; }
    CToolTipCtrlEx* ToolTip() const { return m_pTip; }

    // Closes the sub-page before the window goes.
    bool Destroy() override;

    // ISubPageFrame
    void CloseSubPage() override;
    void ShowHeader(unsigned image) override;
    bool CreateSubPage(int code) override;
    void PlaceSubPage() override;
    void Repaint() override;

protected:
    bool OnInitDialog() override;

private:
    std::unique_ptr<CBaseDlg> MakeSubPage(int code);
    void Arrange();
    void OnPaint(wxPaintEvent& event);

    std::unique_ptr<CSubPageSwitch> m_pSwitch;
    CPictureImage m_Header;
    unsigned m_HeaderImage = 0;
    // Child windows, owned by the toolkit.
    CBaseDlg* m_pSubPage = nullptr;
    wxWindow* m_pFrame = nullptr;
    std::vector<wxWindow*> m_Zones;
    CToolTipCtrlEx* m_pTip = nullptr;
};
