#include "toolbar/CKVToolBarCtrl.h"

#include <algorithm>

#include <wx/dcclient.h>
#include <wx/stattext.h>

#include "toolbar/CHoverButton.h"
#include "toolbar/CImageListButton.h"
#include "toolbar/CToolBand.h"
#include "toolbar/ToolBarIds.h"
#include "toolbar/ToolBarLayout.h"

namespace {

using namespace toolbar_ids;

constexpr int kLabelFontHeight = 12;
// Room beside a centred total, so the widest never touches the label's ends.
constexpr int kLabelMargin = 4;

// The switch and engine looks that follow a system colour change.
constexpr int kRecolouredButtons[] = {kCmdLogo,    kEngineStart, kEngineStop,  kIncomingOn, kIncomingOff,
                                      kOutgoingOn, kOutgoingOff, kPrivacyOn,   kPrivacyOff};

}  // namespace

CKVToolBarCtrl::CKVToolBarCtrl(CToolbarClnt& client) : m_Model(client) {}

CKVToolBarCtrl::~CKVToolBarCtrl() {
    m_Model.SetChangeHandler(nullptr);
    m_Model.Detach();
}

bool CKVToolBarCtrl::Create(const wxRect& rect, wxWindow* parent, CToolBand* band) {
    m_pBand = band;
    if (!wxPanel::Create(parent, kToolBar, rect.GetPosition(), rect.GetSize(), wxBORDER_NONE | wxCLIP_CHILDREN)) {
        return false;
    }
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CKVToolBarCtrl::OnPaint, this);
    Bind(wxEVT_SYS_COLOUR_CHANGED, &CKVToolBarCtrl::OnSysColourChanged, this);
    if (!m_Model.Attach()) return false;
    m_LabelFont = wxFont(wxFontInfo(wxSize(0, kLabelFontHeight)).FaceName("Arial").Family(wxFONTFAMILY_SWISS));
    if (!CreateItems(rect)) return false;
    m_pReceivedLabel->SetFont(m_LabelFont);
    m_pSentLabel->SetFont(m_LabelFont);
    m_Model.SetLogoHandler([this] { OnLogo(); });
    m_Model.SetChangeHandler([this] { ShowState(); });
    ShowState();
    return true;
}

CHoverButton* CKVToolBarCtrl::HoverButton(int controlId) const {
    const auto it = m_HoverButtons.find(controlId);
    return it == m_HoverButtons.end() ? nullptr : it->second;
}

CImageListButton* CKVToolBarCtrl::ImageButton(int controlId) const {
    const auto it = m_ImageButtons.find(controlId);
    return it == m_ImageButtons.end() ? nullptr : it->second;
}

ToolBarLabelSize CKVToolBarCtrl::LabelSize() const {
    wxClientDC dc(const_cast<CKVToolBarCtrl*>(this));
    dc.SetFont(m_LabelFont);
    ToolBarLabelSize size{0, 0};
    // The widest text of each unit: the largest 32-bit total, 1024 KB, 1024 B.
    for (const std::uint32_t total : {0xFFFFFFFFu, 1048576u, 1024u}) {
        const wxSize text = dc.GetTextExtent(wxString::FromUTF8(CKVToolBarModel::TotalText(total)));
        size.width = std::max(size.width, text.x + kLabelMargin);
        size.height = std::max(size.height, text.y);
    }
    return size;
}

bool CKVToolBarCtrl::CreateItems(const wxRect& rect) {
    const platform::HWND owner = m_Model.hwnd();
    for (const ToolBarItem& item : ToolBarLayout(rect.x, rect.y, m_Model.PanelInfo(), LabelSize())) {
        const int right = item.x + item.width;
        m_ItemsRight = std::max(m_ItemsRight, right);
        const int bottom = item.y + item.height;
        switch (item.kind) {
        case ToolBarItemKind::HoverButton:
        case ToolBarItemKind::Separator:
            for (const auto& [id, pictures] : {std::pair{item.id, item.pictures}, std::pair{item.altId, item.altPictures}}) {
                if (id == 0) continue;
                auto* button = new CHoverButton;
                if (!button->Create(this, owner, item.command, item.x, item.y, right, bottom, id, pictures[0],
                                    pictures[1], pictures[2], pictures[3])) {
                    button->Destroy();
                    return false;
                }
                m_HoverButtons[id] = button;
            }
            break;
        case ToolBarItemKind::ImageList: {
            auto* button = new CImageListButton;
            if (!button->Create(this, owner, item.command, wxRect(item.x, item.y, item.width, item.height), item.id)) {
                button->Destroy();
                return false;
            }
            m_ImageButtons[item.id] = button;
            if (item.pictures[0] != 0 && !button->SetImages(item.pictures[0], item.pictures[1], item.pictures[2])) {
                return false;
            }
            break;
        }
        case ToolBarItemKind::Label: {
            auto* label = new wxStaticText(this, wxID_ANY, "", wxPoint(item.x, item.y), wxSize(item.width, item.height),
                                           wxALIGN_CENTRE_HORIZONTAL | wxST_NO_AUTORESIZE);
            (item.id == kReceivedLabel ? m_pReceivedLabel : m_pSentLabel) = label;
            break;
        }
        }
    }
    return m_pReceivedLabel && m_pSentLabel;
}

wxSize CKVToolBarCtrl::DoGetBestSize() const {
    return {m_ItemsRight, CToolBand::kHeight};
}

void CKVToolBarCtrl::ShowState() {
    ShowPair(m_Model.running() == 1 ? kEngineStop : kEngineStart, m_Model.running() == 1 ? kEngineStart : kEngineStop);
    ShowPair(m_Model.incoming() == 1 ? kIncomingOn : kIncomingOff, m_Model.incoming() == 1 ? kIncomingOff : kIncomingOn);
    ShowPair(m_Model.outgoing() == 1 ? kOutgoingOn : kOutgoingOff, m_Model.outgoing() == 1 ? kOutgoingOff : kOutgoingOn);
    ShowPair(m_Model.privacy() == 1 ? kPrivacyOn : kPrivacyOff, m_Model.privacy() == 1 ? kPrivacyOff : kPrivacyOn);
    if (m_pReceivedLabel->GetLabel() != m_Model.ReceivedText()) m_pReceivedLabel->SetLabel(m_Model.ReceivedText());
    if (m_pSentLabel->GetLabel() != m_Model.SentText()) m_pSentLabel->SetLabel(m_Model.SentText());
    for (const auto& [id, frame] : {std::pair{kCmdReceivedAnimation, m_Model.ReceivedFrame()},
                                    std::pair{kCmdSentAnimation, m_Model.SentFrame()}}) {
        CImageListButton* animation = ImageButton(id);
        if (animation->NormalPicture() != frame) animation->SetImages(frame, frame, frame);
        animation->Enable();
    }
}

void CKVToolBarCtrl::ShowPair(int shownId, int hiddenId) {
    CHoverButton* shown = HoverButton(shownId);
    CHoverButton* hidden = HoverButton(hiddenId);
    // Switches the toolbar does not offer have no buttons.
    if (!shown || !hidden) return;
    hidden->Hide();
    shown->Show();
    shown->Enable();
    hidden->Enable();
}

void CKVToolBarCtrl::OnLogo() {
    if (m_pBand) m_pBand->NavigateToMakerPage();
}

// The band shows the host's background.
void CKVToolBarCtrl::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    const wxWindow* parent = GetParent();
    dc.SetBackground(wxBrush(parent ? parent->GetBackgroundColour() : GetBackgroundColour()));
    dc.Clear();
}

void CKVToolBarCtrl::OnSysColourChanged(wxSysColourChangedEvent& event) {
    for (const int id : kRecolouredButtons) {
        if (CHoverButton* button = HoverButton(id)) button->SysColorChange();
    }
    Refresh();
    event.Skip();
}
