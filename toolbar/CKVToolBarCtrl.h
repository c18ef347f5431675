#pragma once
// The toolbar the band shows: logo, engine start/stop, the three switches
// and, per traffic direction, an icon, an animation and the byte total. A
// thin view over CKVToolBarModel, which receives the channel client's
// notices and the buttons' clicks on its platform window.

#include <map>
#include <memory>

#include <wx/font.h>
#include <wx/panel.h>

#include "toolbar/CKVToolBarModel.h"
#include "toolbar/ToolBarLayout.h"

class CHoverButton;
class CImageListButton;
class CToolBand;
class wxStaticText;

class CKVToolBarCtrl : public wxPanel {
public:
    explicit CKVToolBarCtrl(CToolbarClnt& client = CToolbarClnt::Shared());
    ~CKVToolBarCtrl() override;

    // The rectangle's left and top are the layout origin; band (may be
    // null) gives the browser the logo opens the maker's page in.
    bool Create(const wxRect& rect, wxWindow* parent, CToolBand* band);

    const CKVToolBarModel& Model() const { return m_Model; }
    // Items by control id; null for an id the toolbar does not have.
    CHoverButton* HoverButton(int controlId) const;
    CImageListButton* ImageButton(int controlId) const;
    wxStaticText* ReceivedLabel() const { return m_pReceivedLabel; }
    wxStaticText* SentLabel() const { return m_pSentLabel; }

protected:
    // As wide as its items reach, the band's height.
    wxSize DoGetBestSize() const override;

private:
    // The totals labels' need, in their font.
    ToolBarLabelSize LabelSize() const;
    bool CreateItems(const wxRect& rect);
    // Shows the model's state: one look of each pair, labels, animations.
    void ShowState();
    void ShowPair(int shownId, int hiddenId);
    void OnLogo();
    void OnPaint(wxPaintEvent& event);
    void OnSysColourChanged(wxSysColourChangedEvent& event);

    CKVToolBarModel m_Model;
    CToolBand* m_pBand = nullptr;
    // Hover buttons and image-list buttons by control id (children, owned
    // by the window).
    std::map<int, CHoverButton*> m_HoverButtons;
    std::map<int, CImageListButton*> m_ImageButtons;
    wxStaticText* m_pReceivedLabel = nullptr;
    wxStaticText* m_pSentLabel = nullptr;
    wxFont m_LabelFont;
    int m_ItemsRight = 0;  // where the last item ends
};
