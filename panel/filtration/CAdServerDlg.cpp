#include "panel/filtration/CAdServerDlg.h"

#include <wx/dcbuffer.h>
#include <wx/listbox.h>
#include <wx/statbox.h>

#include "controls/CGifButton.h"
#include "panel/filtration/CAddFltrSrvrDlg.h"
#include "panel/filtration/FiltrationIds.h"
#include "panel/pages/PageLayout.h"
#include "relay/engine/CBaseServer.h"

CAdServerDlg::CAdServerDlg(CServerHost* host) : CPopupDlg(host) {
    if (host) m_pLink = std::make_unique<CHostPageLink>(*host);
}

bool CAdServerDlg::Create(wxWindow* parent) {
    return CBaseModalDlg::Create(IDD_AD_SERVER, parent, {}, DuSize(300, 230), wxBORDER_NONE);
}

wxListBox* CAdServerDlg::List(int id) const {
    const auto found = m_Lists.find(id);
    return found == m_Lists.end() ? nullptr : found->second;
}

bool CAdServerDlg::OnInitDialog() {
    if (!m_pLink) return false;
    const CSettings engine = CBaseServer::GetSettings();
    m_pModel = std::make_unique<CAdServerModel>(
        *m_pLink, engine.getFiltrationSettings()->mInFiltration.mBanners,
        [this](const std::string& sample) { return CAddFltrSrvrDlg::Ask(GetHost(), this, sample); });

    BuildPopup(DuSize(300, 230));
    BuildControls();
    ShowLists();
    return true;
}

void CAdServerDlg::BuildControls() {
    struct ListPlace {
        int id;
        const char* group;
        int x, y, width, height;
    };
    const ListPlace lists[] = {{IDC_AD_ALLOWED, "Allowed Servers List", 4, 4, 116, 120},
                               {IDC_AD_BLOCKED, "Blocked Servers List", 180, 4, 116, 120},
                               {IDC_AD_CUSTOM, "Custom Blocked Servers List", 4, 128, 200, 98}};
    for (const ListPlace& l : lists) {
        new wxStaticBox(this, wxID_ANY, l.group, DuPoint(l.x, l.y), DuSize(l.width, l.height));
        m_Lists[l.id] = new wxListBox(this, l.id, DuPoint(l.x + 6, l.y + 12), DuSize(l.width - 12, l.height - 18),
                                      0, nullptr, wxLB_SINGLE);
    }

    struct ButtonPlace {
        int id;
        GifFaces faces;
        int x, y;
    };
    const ButtonPlace buttons[] = {
        {IDC_AD_ADD_ALL, kFacesAddAll, 124, 20},          {IDC_AD_ADD, kFacesMoveAdd, 124, 42},
        {IDC_AD_REMOVE, kFacesMoveRemove, 124, 64},       {IDC_AD_REMOVE_ALL, kFacesRemoveAll, 124, 86},
        {IDC_AD_ADD_SERVER, kFacesAddServer, 212, 140},   {IDC_AD_REMOVE_SERVER, kFacesRemoveServer, 212, 162},
        {IDC_AD_OK, kFacesOk, 240, 206},
    };
    for (const ButtonPlace& b : buttons) {
        auto* button = new CGifButton(this, b.id, DuPoint(b.x, b.y));
        button->SetImages(b.faces.normal, b.faces.pushed);
    }
    const auto selected = [this](int list) { return m_Lists[list]->GetSelection(); };
    const auto change = [this](auto action) {
        return [this, action](wxCommandEvent&) {
            action();
            ShowLists();
        };
    };
    Bind(wxEVT_BUTTON, change([this] { m_pModel->OnAddAll(); }), IDC_AD_ADD_ALL);
    Bind(wxEVT_BUTTON, change([this, selected] { m_pModel->OnAdd(selected(IDC_AD_ALLOWED)); }), IDC_AD_ADD);
    Bind(wxEVT_BUTTON, change([this, selected] { m_pModel->OnRemove(selected(IDC_AD_BLOCKED)); }), IDC_AD_REMOVE);
    Bind(wxEVT_BUTTON, change([this] { m_pModel->OnRemoveAll(); }), IDC_AD_REMOVE_ALL);
    Bind(wxEVT_BUTTON, change([this] { m_pModel->OnAddServer(); }), IDC_AD_ADD_SERVER);
    Bind(wxEVT_BUTTON, change([this, selected] { m_pModel->OnRemoveServer(selected(IDC_AD_CUSTOM)); }),
         IDC_AD_REMOVE_SERVER);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndPopup(wxID_OK); }, IDC_AD_OK);
    AddTips(CAdServerModel::Tips());
}

void CAdServerDlg::ShowLists() {
    const std::pair<int, const std::vector<std::string>*> lines[] = {
        {IDC_AD_ALLOWED, &m_pModel->Allowed()}, {IDC_AD_BLOCKED, &m_pModel->Blocked()}, {IDC_AD_CUSTOM, &m_pModel->Custom()}};
    for (auto [id, names] : lines) {
        wxArrayString items;
        for (const std::string& name : *names) items.Add(wxString::FromUTF8(name));
        m_Lists[id]->Set(items);
    }
}

void CAdServerDlg::OnPaint() {
    wxAutoBufferedPaintDC dc(this);
    const CAdServerModel::Gradient g = CAdServerModel::Background(CBaseServer::GetChainSettings().getMixChain());
    dc.GradientFillLinear(GetClientRect(), wxColour(g.top.red, g.top.green, g.top.blue),
                          wxColour(g.bottom.red, g.bottom.green, g.bottom.blue), wxSOUTH);
}
