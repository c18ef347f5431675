#include "wizard/CWizProxyDlg.h"

#include <array>
#include <string>

#include <wx/stattext.h>

#include "wizard/CWizAdvProxyDlg.h"
#include "wizard/CWizHowDlg.h"
#include "wizard/CWizSysCleanupDlg.h"
#include "wizard/DialogIds.h"
#include "wizard/PageControls.h"

namespace wizard {

using namespace proxy;

namespace {
constexpr std::array kGroups{
    SGroupPlace{kChainGroup, "Proxy Chain Settings", 24, CWizPage::kBodyTop, 500, 126},
    SGroupPlace{kBasicGroup, "Basic Settings", 24, CWizPage::kBodyTop + 132, 500, 62},
    SGroupPlace{kUpdateGroup, "Proxy List Update", 24, CWizPage::kBodyTop + 200, 500, 84},
};
}  // namespace

CWizProxyDlg::CWizProxyDlg(CWizardSession& session)
    : CWizPage(session, dlg::kProxy, {kBanner, kBack, kNext, kCancel}, kGroups),
      mChain(new wxCheckBox(this, kChain, "Connect through proxy chain", wxPoint(40, kBodyTop + 22))),
      mPort(new wxTextCtrl(this, kPort, wxString(), wxPoint(180, kBodyTop + 152), wxSize(80, -1))),
      mOneProxy(new wxRadioButton(this, kOneProxy, "Use one proxy", wxPoint(60, kBodyTop + 48), wxDefaultSize,
                                  wxRB_GROUP)),
      mMultipleProxies(new wxRadioButton(this, kMultipleProxies, "Use muliple proxies", wxPoint(60, kBodyTop + 72))),
      mUpdateEvery(new wxCheckBox(this, kUpdateEvery, "Update proxy list every :", wxPoint(40, kBodyTop + 222))),
      mInterval(new wxChoice(this, kInterval, wxPoint(240, kBodyTop + 216), wxSize(110, -1))),
      mUpdateAtStartup(new wxCheckBox(this, kUpdateAtStartup, "Update proxy list at application startup.",
                                      wxPoint(40, kBodyTop + 256))),
      mAdvanced(new CGifButton(this, kAdvanced, wxPoint(400, kBodyTop + 38))),
      mHow(new CGifButton(this, kHow, wxPoint(400, kBodyTop + 70))) {
    new wxStaticText(this, wxID_ANY, "(To increase the number of proxies in the proxy chain)",
                     wxPoint(80, kBodyTop + 98));
    new wxStaticText(this, wxID_ANY, "Proxy Server Port :", wxPoint(40, kBodyTop + 158));
    new wxStaticText(this, wxID_ANY, "(Requires server restart)", wxPoint(270, kBodyTop + 158));
    for (const char* interval : {"1 Hour", "3 Hours", "6 Hours", "12 Hours", "1 Day", "2 Days", "3 Days", "1 Week"}) {
        mInterval->Append(interval);
    }
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { mModel.SetChainBox(mChain->GetValue()); ShowModel(); }, kChain);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { mModel.ChooseOneProxy(); ShowModel(); }, kOneProxy);
    Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { mModel.ChooseMultipleProxies(); ShowModel(); },
         kMultipleProxies);
    Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { mModel.SetUpdateEvery(mUpdateEvery->GetValue()); ShowModel(); },
         kUpdateEvery);
    Bind(wxEVT_CHECKBOX,
         [this](wxCommandEvent&) { mModel.SetUpdateAtStartup(mUpdateAtStartup->GetValue()); ShowModel(); },
         kUpdateAtStartup);
    Bind(wxEVT_BUTTON, &CWizProxyDlg::OnAdvanced, this, kAdvanced);
    Bind(wxEVT_BUTTON, &CWizProxyDlg::OnHow, this, kHow);
    BindStoringSteps<CWizSysCleanupDlg>([this] { Store(); });
}

void CWizProxyDlg::InitPage() {
    mHow->SetImages("IDR_HOW", "IDR_HOW_OVER");
    mOneProxy->SetValue(true);
    mInterval->SetSelection(0);
    mModel.Load(Session().mSettings);
    mPort->SetValue(std::to_string(mModel.Port()));
    ShowModel();
}

void CWizProxyDlg::ShowModel() {
    const CWizProxyModel::SEnabled& on = mModel.Enabled();
    mChain->SetValue(mModel.ChainBox());
    mPort->Enable(on.port);
    mOneProxy->Enable(on.radios);
    mMultipleProxies->Enable(on.radios);
    mUpdateEvery->SetValue(mModel.UpdateEvery());
    mUpdateEvery->Enable(on.updateEvery);
    mInterval->Enable(on.interval);
    mUpdateAtStartup->SetValue(mModel.UpdateAtStartup());
    mUpdateAtStartup->Enable(on.updateAtStartup);
    SetFaces(*mAdvanced, "IDR_ADVANCED", on.advanced);
    mHow->Enable(on.how);
}

void CWizProxyDlg::Store() { mModel.Store(Session().mSettings, mPort->GetValue().ToStdString()); }

void CWizProxyDlg::OnAdvanced(wxCommandEvent&) {
    CWizAdvProxyDlg advanced(this, Session().mSettings, mModel.ChainFlag());
    if (advanced.ShowModal() == wxID_OK) {
        mModel.TakeChainFlag(advanced.ChainFlag());
        ShowModel();
    }
}

void CWizProxyDlg::OnHow(wxCommandEvent&) {
    CWizHowDlg how(this);
    how.ShowModal();
}

}  // namespace wizard
