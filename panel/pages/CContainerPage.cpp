#include "panel/pages/CContainerPage.h"

#include "controls/CAnimatedGifStatic.h"
#include "controls/CToolTipCtrlEx.h"
#include "controls/CTransparentStatic.h"
#include "panel/pages/PageLayout.h"

CContainerPage::~CContainerPage() {
    if (m_pSwitch) m_pSwitch->Close();
}

void CContainerPage::BuildContainer(int headerId, const std::vector<Zone>& zones, int frameId,
                                    const wxRect& frame, wxPoint subPageOffset,
                                    std::vector<CSubPageSwitch::Kind> kinds) {
    SetSize(DuSize(275, 213));
    m_SubPageOffset = subPageOffset;
    m_pHeader = new CAnimatedGifStatic(this, headerId, DuPoint(0, 0), DuSize(275, 13));
    m_pTip = new CToolTipCtrlEx();
    m_pTip->Create(this);
    for (const Zone& zone : zones) {
        auto* control = new CTransparentStatic(this, zone.id, {}, DuPoint(zone.rect.x, zone.rect.y),
                                               DuSize(zone.rect.width, zone.rect.height));
        const int id = zone.id;
        control->Bind(wxEVT_BUTTON, [this, id](wxCommandEvent&) { m_pSwitch->OnZone(id); });
        m_pTip->AddTool(control, zone.tip);
    }
    m_pFrame = new wxWindow(this, frameId, DuPoint(frame.x, frame.y), DuSize(frame.width, frame.height));
    m_pSwitch = std::make_unique<CSubPageSwitch>(*this, std::move(kinds));
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

void CContainerPage::PlaceSubPage() {
    const wxSize client = m_pFrame->GetClientSize();
    m_pSubPage->SetSize(m_SubPageOffset.x, m_SubPageOffset.y, std::abs(client.x), std::abs(client.y));
    m_pSubPage->Show();
    m_pSubPage->Enable();
}

void CContainerPage::Repaint() {
    CBaseDlg::Refresh(true);
    if (wxWindow* parent = GetParent()) parent->Update();
}
