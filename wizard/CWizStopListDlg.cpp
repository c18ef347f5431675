#include "wizard/CWizStopListDlg.h"

#include <array>

#include "wizard/CWizAddServerDlg.h"
#include "wizard/CWizFinishDlg.h"
#include "wizard/DialogIds.h"

namespace wizard {

using namespace stoplist;

namespace {
constexpr std::array kGroups{
    SGroupPlace{kStopGroup, "Server Stop List", 24, CWizPage::kBodyTop, 500, 250},
};
}  // namespace

CWizStopListDlg::CWizStopListDlg(CWizardSession& session)
    : CWizPage(session, dlg::kStopList, {kBanner, kBack, kNext, kCancel}, kGroups),
      mStopBox(new wxCheckBox(this, kStopBox, "Server Stop List.", wxPoint(40, kBodyTop + 22))),
      mServers(this, {kList, kAdd, kEdit, kRemove}, wxPoint(40, kBodyTop + 48), wxSize(340, 160)) {
    Bind(wxEVT_CHECKBOX, &CWizStopListDlg::OnStopBox, this, kStopBox);
    mServers.BindEditing<CWizAddServerDlg>(
        mModel.Servers(),
        {.add = [this](const std::string& text) { mModel.AddServer(text); },
         .edit = [this](std::size_t line, const std::string& text) { mModel.EditServer(line, text); },
         .remove = [this](std::size_t line) { mModel.RemoveServer(line); }});
    BindStoringSteps<CWizFinishDlg>([this] { Store(); });
}

void CWizStopListDlg::InitPage() {
    mStopBox->SetValue(true);
    mModel.Load(Session().mSettings);
    mServers.Show(mModel.Servers());
}

void CWizStopListDlg::Store() { mModel.Store(Session().mSettings); }

void CWizStopListDlg::OnStopBox(wxCommandEvent&) {
    mModel.SetStopListBox(mStopBox->GetValue());
    mServers.Show(mModel.Servers());
}

}  // namespace wizard
