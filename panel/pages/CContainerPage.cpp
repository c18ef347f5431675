#include "panel/pages/CContainerPage.h"

#include <algorithm>

#include "controls/CAnimatedGifStatic.h"
#include "controls/CToolTipCtrlEx.h"
#include "controls/CTransparentStatic.h"
#include "panel/pages/PageLayout.h"

CContainerPage::~CContainerPage() {
    if (m_pSwitch) m_pSwitch->Close();
}

void CContainerPage::BuildContainer(int headerId, eStrip strip, int thickness, const std::vector<Zone>& zones,
                                    int frameId, wxPoint subPageOffset, std::vector<CSubPageSwitch::Kind> kinds) {
    SetSize(DuSize(275, 213));
    m_SubPageOffset = subPageOffset;
    m_Strip = strip;
    m_Thickness = strip == eStrip::Top ? DuY(thickness) : DuX(thickness);
    m_pHeader = new CAnimatedGifStatic(this, headerId, wxPoint(0, 0));
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    for (const Zone& zone : zones) {
        auto* control = new CTransparentStatic(this, zone.id, {});
        m_Zones.push_back(control);
        const int id = zone.id;
        control->Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { m_pSwitch->OnZone(id); });
        m_pTip->AddTool(control, zone.tip);
    }
    m_pFrame = new wxWindow(this, frameId);
    Arrange();
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        Arrange();
        event.Skip();
    });
    m_pSwitch = std::make_unique<CSubPageSwitch>(*this, std::move(kinds));
}

void CContainerPage::Arrange() {
    const wxSize client = GetClientSize();
    const bool top = m_Strip == eStrip::Top;
    const int count = static_cast<int>(m_Zones.size());
    for (int i = 0; i < count; ++i) {
        const auto [from, length] = StripPart(i, count, top ? client.x : client.y);
        if (top) m_Zones[static_cast<std::size_t>(i)]->SetSize(from, 0, length, m_Thickness);
        else m_Zones[static_cast<std::size_t>(i)]->SetSize(0, from, m_Thickness, length);
    }
    const int beyond = m_Thickness + 1;
    if (top) m_pFrame->SetSize(0, beyond, client.x, std::max(0, client.y - beyond));
    else m_pFrame->SetSize(beyond, 0, std::max(0, client.x - beyond), client.y);
    if (m_pSubPage) PlaceSubPage();
}

void CContainerPage::CloseSubPage() {
    if (!m_pSubPage) return;
    m_pSubPage->Hide();
    m_pSubPage->Disable();
    m_pSubPage->Destroy();
    m_pSubPage = nullptr;
    CBaseDlg::Refresh(true);
}

void CContainerPage::ShowHeader(unsigned image) {
    m_pHeader->LoadFromResource(image);
    m_pHeader->Draw();
}

bool CContainerPage::CreateSubPage(int code) {
    std::unique_ptr<CBaseDlg> page = MakeSubPage(code);
    if (!page || !page->Create(TemplateOf(code), m_pFrame)) return false;
    m_pSubPage = page.release();  // the window owns itself now
    return true;
}

// Inside the frame by the offset, as large as the frame leaves it.
void CContainerPage::PlaceSubPage() {
    const wxSize client = m_pFrame->GetClientSize();
    m_pSubPage->SetSize(m_SubPageOffset.x, m_SubPageOffset.y, std::max(0, client.x - m_SubPageOffset.x),
                        std::max(0, client.y - m_SubPageOffset.y));
    m_pSubPage->Show();
    m_pSubPage->Enable();
}

void CContainerPage::Repaint() {
    CBaseDlg::Refresh(true);
    if (wxWindow* parent = GetParent()) parent->Update();
}
