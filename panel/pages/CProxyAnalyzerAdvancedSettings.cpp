#include "panel/pages/CProxyAnalyzerAdvancedSettings.h"

#include <wx/checkbox.h>
#include <wx/dcbuffer.h>
#include <wx/radiobut.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "controls/CAnimatedGifStatic.h"
#include "controls/CEditFilter.h"
#include "controls/CGifButton.h"
#include "panel/pages/PageLayout.h"
#include "panel/pages/ProxyPageIds.h"
#include "platform/FileDialog.h"
#include "relay/engine/CBaseServer.h"

CProxyAnalyzerAdvancedSettings::CProxyAnalyzerAdvancedSettings(CServerHost* host)
    : CPopupDlg(host) {
    if (host) m_pModel = std::make_unique<CHunterSettingsModel>(host->GetSettings());
}

bool CProxyAnalyzerAdvancedSettings::OnInitDialog() {
    if (!m_pModel) return false;
    BuildPopup(DuSize(230, 200));
    {
        std::lock_guard lock(CBaseServer::mSettingsCS);
        m_bMixChain = CBaseServer::mChainSettings.getMixChain();
    }
    auto* left = new CAnimatedGifStatic(this, IDC_HS_CORNER_LEFT, DuPoint(0, 0));
    auto* right = new CAnimatedGifStatic(this, IDC_HS_CORNER_RIGHT, DuPoint(200, 0));
    if (!m_bMixChain) {
        left->LoadFromResource(IDR_HS_CORNER_LEFT);
        left->Draw();
        right->LoadFromResource(IDR_HS_CORNER_RIGHT);
        right->Draw();
    }
    new wxStaticBox(this, IDC_HS_GROUP_SERVER, "Server Settings", DuPoint(6, 20), DuSize(218, 110));
    new wxStaticBox(this, IDC_HS_GROUP_OTHER, wxString(), DuPoint(6, 132), DuSize(218, 40));

    m_pKinds = std::make_unique<CRadioGroup>(
        this, std::vector<CRadioGroup::Choice>{{IDC_HS_DEFAULT, "Default", DuPoint(12, 32)},
                                               {IDC_HS_CUSTOM, "Custom", DuPoint(80, 32)}});
    m_pSources = std::make_unique<CRadioGroup>(
        this, std::vector<CRadioGroup::Choice>{{IDC_HS_SERVER, "Kavelin Server", DuPoint(12, 48)},
                                               {IDC_HS_URL, "URL", DuPoint(12, 62)},
                                               {IDC_HS_LOCAL, "Local File", DuPoint(12, 88)}});
    for (const CRadioGroup* group : {m_pKinds.get(), m_pSources.get()}) {
        m_Radios.insert(group->Buttons().begin(), group->Buttons().end());
    }
    m_pUrl = new wxTextCtrl(this, IDC_HS_URL_EDIT, {}, DuPoint(12, 74), DuSize(206, 12));
    m_pLocal = new wxTextCtrl(this, IDC_HS_LOCAL_EDIT, {}, DuPoint(12, 101), DuSize(140, 12));
    auto* open = new CGifButton(this, IDC_HS_OPEN);
    open->SetImages(IDR_OPEN_FILE);
    // Beside the file's field, inside the group's frame.
    PlaceRow(DuX(12), DuY(101) + DuY(12) / 2, {m_pLocal, open});
    m_pOpen = open;

    struct BoxPlace {
        int id;
        const char* label;
        int x, y;
        bool hidden;
    };
    const BoxPlace boxes[] = {{IDC_HS_DEPTH, "Download Depth", 12, 116, false},
                              {IDC_HS_AUTO_ANALYZE, "Auto Analyze Proxy List Every ", 12, 140, true},
                              {IDC_HS_AUTO_DELETE, "Auto deletion of failed proxies", 12, 152, true},
                              {IDC_HS_EXCLUDE_FOREIGN, "Exclude foreigner servers", 12, 164, true}};
    for (const BoxPlace& b : boxes) {
        m_Boxes[b.id] = new wxCheckBox(this, b.id, b.label, DuPoint(b.x, b.y));
        if (b.hidden) m_Boxes[b.id]->Hide();
    }
    // The numbers follow their check boxes' texts.
    m_pDepth = new wxTextCtrl(this, IDC_HS_DEPTH_EDIT, {}, wxDefaultPosition, DuSize(30, 12));
    m_pMinutes = new wxTextCtrl(this, IDC_HS_MINUTES_EDIT, {}, wxDefaultPosition, DuSize(30, 12));
    m_pMinutesLabel = new wxStaticText(this, IDC_HS_MINUTES_LABEL, "minutes.");
    PlaceRow(DuX(12), DuY(116) + 8, {m_Boxes[IDC_HS_DEPTH], m_pDepth});
    PlaceRow(DuX(12), DuY(140) + 8, {m_Boxes[IDC_HS_AUTO_ANALYZE], m_pMinutes, m_pMinutesLabel});
    m_pMinutes->Hide();
    m_pMinutesLabel->Hide();
    for (wxTextCtrl* edit : {m_pUrl, m_pLocal, m_pDepth, m_pMinutes}) edit->SetBackgroundColour(*wxWHITE);
    CEditFilter::DigitsOnly(*m_pDepth);
    CEditFilter::DigitsOnly(*m_pMinutes);

    auto* ok = new CGifButton(this, IDC_HS_OK, DuPoint(110, 178));
    ok->SetImages(IDR_HS_OK, IDR_HS_OK_PUSHED);
    auto* cancel = new CGifButton(this, IDC_HS_CANCEL, DuPoint(166, 178));
    cancel->SetImages(IDR_HS_CANCEL, IDR_HS_CANCEL_PUSHED);

    AddTips(CHunterSettingsModel::Tips());

    m_pModel->Init();
    ShowState();

    auto changed = [this](auto action) {
        return [this, action](auto&) {
            if (m_bShowing) return;
            action();
            ShowState();
        };
    };
    m_Radios[IDC_HS_DEFAULT]->Bind(wxEVT_RADIOBUTTON, changed([this] { m_pModel->OnDefault(); }));
    m_Radios[IDC_HS_CUSTOM]->Bind(wxEVT_RADIOBUTTON, changed([this] { m_pModel->OnCustom(); }));
    m_Radios[IDC_HS_SERVER]->Bind(wxEVT_RADIOBUTTON, changed([this] { m_pModel->OnSource(eKavelinServer); }));
    m_Radios[IDC_HS_URL]->Bind(wxEVT_RADIOBUTTON, changed([this] { m_pModel->OnSource(eUserURL); }));
    m_Radios[IDC_HS_LOCAL]->Bind(wxEVT_RADIOBUTTON, changed([this] { m_pModel->OnSource(eLocalFile); }));
    m_Boxes[IDC_HS_DEPTH]->Bind(wxEVT_CHECKBOX, changed([this] { m_pModel->OnDepthBox(m_Boxes[IDC_HS_DEPTH]->GetValue()); }));
    m_Boxes[IDC_HS_AUTO_ANALYZE]->Bind(
        wxEVT_CHECKBOX, changed([this] { m_pModel->OnAutoAnalyzeBox(m_Boxes[IDC_HS_AUTO_ANALYZE]->GetValue()); }));
    m_Boxes[IDC_HS_AUTO_DELETE]->Bind(
        wxEVT_CHECKBOX, changed([this] { m_pModel->OnAutoDeleteBox(m_Boxes[IDC_HS_AUTO_DELETE]->GetValue()); }));
    m_Boxes[IDC_HS_EXCLUDE_FOREIGN]->Bind(
        wxEVT_CHECKBOX,
        changed([this] { m_pModel->OnExcludeForeignBox(m_Boxes[IDC_HS_EXCLUDE_FOREIGN]->GetValue()); }));
    m_pUrl->Bind(wxEVT_TEXT, changed([this] { m_pModel->OnUrlChanged(m_pUrl->GetValue().utf8_string()); }));
    m_pLocal->Bind(wxEVT_TEXT,
                   changed([this] { m_pModel->OnLocalUrlChanged(m_pLocal->GetValue().utf8_string()); }));
    m_pDepth->Bind(wxEVT_TEXT, changed([this] { m_pModel->OnDepthChanged(m_pDepth->GetValue().utf8_string()); }));
    m_pMinutes->Bind(wxEVT_TEXT,
                     changed([this] { m_pModel->OnMinutesChanged(m_pMinutes->GetValue().utf8_string()); }));
    open->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        platform::FileDialogRequest request;
        request.kind = platform::FileDialogKind::Open;
        request.fileName = "*.*";
        request.filter = "All Files (*.*)";
        request.flags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT;
        if (auto path = platform::ShowFileDialog(request)) ChooseFile(path->string());
    });
    ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); });
    cancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCancel(); });
    return true;
}

void CProxyAnalyzerAdvancedSettings::ShowState() {
    m_bShowing = true;
    const auto& s = m_pModel->GetState();
    const std::pair<int, const CHunterSettingsModel::Control*> radios[] = {
        {IDC_HS_DEFAULT, &s.defaultRadio}, {IDC_HS_CUSTOM, &s.customRadio}, {IDC_HS_SERVER, &s.serverRadio},
        {IDC_HS_URL, &s.urlRadio},         {IDC_HS_LOCAL, &s.localRadio}};
    for (CRadioGroup* group : {m_pKinds.get(), m_pSources.get()}) {
        int checked = 0;
        for (auto [id, control] : radios) {
            if (control->checked && group->Button(id)) checked = id;
        }
        group->Check(checked);
    }
    for (auto [id, control] : radios) m_Radios[id]->Enable(control->enabled);
    const std::pair<int, const CHunterSettingsModel::Control*> boxes[] = {
        {IDC_HS_DEPTH, &s.depthBox},
        {IDC_HS_AUTO_ANALYZE, &s.autoAnalyzeBox},
        {IDC_HS_AUTO_DELETE, &s.autoDeleteBox},
        {IDC_HS_EXCLUDE_FOREIGN, &s.excludeForeignBox}};
    for (auto [id, control] : boxes) {
        m_Boxes[id]->SetValue(control->checked);
        m_Boxes[id]->Enable(control->enabled);
    }
    const std::pair<wxTextCtrl*, const std::string*> texts[] = {
        {m_pUrl, &s.url}, {m_pLocal, &s.localUrl}, {m_pDepth, &s.depth}, {m_pMinutes, &s.minutes}};
    for (auto [edit, text] : texts) {
        const wxString value = wxString::FromUTF8(*text);
        if (edit->GetValue() != value) edit->ChangeValue(value);
    }
    m_pUrl->Enable(s.urlEditEnabled);
    m_pLocal->Enable(s.localEditEnabled);
    m_pOpen->Enable(s.openEnabled);
    m_pDepth->Enable(s.depthEditEnabled);
    m_pMinutes->Enable(s.minutesEditEnabled);
    m_pMinutesLabel->Enable(s.minutesLabelEnabled);
    m_bShowing = false;
}

void CProxyAnalyzerAdvancedSettings::OnPaint() {
    wxAutoBufferedPaintDC dc(this);
    // The colours the picture corners were drawn for: blue while chains may
    // mix proxy kinds, green-blue when they may not.
    const wxColour top = m_bMixChain ? wxColour(0xFF, 0xFF, 0xFF) : wxColour(0xCA, 0xFF, 0xFF);
    const wxColour bottom = m_bMixChain ? wxColour(0xD6, 0xE6, 0xFF) : wxColour(0x68, 0xC8, 0xE6);
    dc.GradientFillLinear(GetClientRect(), top, bottom, wxSOUTH);
}

void CProxyAnalyzerAdvancedSettings::ChooseFile(const std::string& path) {
    m_pModel->OnFileChosen(path);
    ShowState();
}

void CProxyAnalyzerAdvancedSettings::OnOk() {
    m_pModel->Ok();
    EndPopup(0);
}

void CProxyAnalyzerAdvancedSettings::OnCancel() {
    m_pModel->Cancel();
    EndPopup(0);
}
