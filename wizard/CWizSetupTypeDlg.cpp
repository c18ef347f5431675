#include "wizard/CWizSetupTypeDlg.h"

#include <wx/stattext.h>

#include "platform/MessageBox.h"
#include "wizard/CWizAutoConfigDlg.h"
#include "wizard/CWizFinishDlg.h"
#include "wizard/CWizProxyDlg.h"
#include "wizard/DialogIds.h"
#include "wizard/WizTexts.h"

namespace wizard {

using namespace setuptype;

CWizSetupTypeDlg::CWizSetupTypeDlg(CWizardSession& session)
    : CWizPage(session, dlg::kSetupType, {kBanner, kBack, kNext, kCancel}),
      mDefault(new wxCheckBox(this, kDefault, "Default Settings.", wxPoint(30, kBodyTop))),
      mCustom(new wxCheckBox(this, kCustom, "Custom Settings.", wxPoint(30, kBodyTop + 215))) {
    new wxStaticText(this, kDefaultText, wxString(), wxPoint(50, kBodyTop + 24), wxSize(460, 180));
    new wxStaticText(this, wxID_ANY,
                     "Customize your settings so that you make sure that every thing is adapted according to your "
                     "wish.",
                     wxPoint(50, kBodyTop + 240), wxSize(460, 36));
    Bind(wxEVT_CHECKBOX, &CWizSetupTypeDlg::OnChoice, this, kDefault);
    Bind(wxEVT_CHECKBOX, &CWizSetupTypeDlg::OnChoice, this, kCustom);
    Bind(wxEVT_BUTTON, &CWizSetupTypeDlg::OnNext, this, kNext);
}

void CWizSetupTypeDlg::InitPage() {
    mDefault->SetFont(GroupFont());
    mCustom->SetFont(GroupFont());
    mDefault->SetValue(mModel.IsDefaultChecked());
    mCustom->SetValue(mModel.IsCustomChecked());
    FindWindow(kDefaultText)->SetLabel(CWizSetupTypeModel::DefaultSettingsText());
}

void CWizSetupTypeDlg::OnChoice(wxCommandEvent& event) {
    event.GetId() == kDefault ? mModel.ClickDefault() : mModel.ClickCustom();
    mDefault->SetValue(mModel.IsDefaultChecked());
    mCustom->SetValue(mModel.IsCustomChecked());
}

void CWizSetupTypeDlg::OnNext(wxCommandEvent&) {
    switch (mModel.Next()) {
        case CWizSetupTypeModel::eNext::NeedSelection:
            platform::MessageBox(nullptr, text::kMakeSelection, text::kCaption,
                                 platform::MB_OK | platform::MB_ICONINFORMATION);
            break;
        case CWizSetupTypeModel::eNext::Custom:
            OpenNext<CWizProxyDlg>();
            break;
        case CWizSetupTypeModel::eNext::Default:
            // Only the auto-configuration page opens this one.
            CWizSetupTypeModel::ApplyDefaultSettings(Session().mSettings,
                                                     dynamic_cast<const CWizAutoConfigDlg&>(*Previous()).Model());
            OpenNext<CWizFinishDlg>();
            break;
    }
}

}  // namespace wizard
