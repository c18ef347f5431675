#include "wizard/CWizSetupTypeModel.h"

#include "wizard/CWizAutoConfigModel.h"

namespace wizard {

void CWizSetupTypeModel::ClickDefault() {
    defaultChecked_ = !defaultChecked_;
    custom_ = 0;
    customChecked_ = false;
}

void CWizSetupTypeModel::ClickCustom() {
    customChecked_ = !customChecked_;
    custom_ = 1;
    defaultChecked_ = false;
}

CWizSetupTypeModel::eNext CWizSetupTypeModel::Next() const {
    if (!defaultChecked_ && !customChecked_) return eNext::NeedSelection;
    return custom_ == 1 ? eNext::Custom : eNext::Default;
}

void CWizSetupTypeModel::ApplyDefaultSettings(CSettings& s, const CWizAutoConfigModel& autoConfig) {
    s.getGeneralSettings()->setStartingIP("127.0.0.1");
    s.getGeneralSettings()->setStartingPort(8082);
    s.SetToMediumProtection();
    autoConfig.Store(s);
}

const char* CWizSetupTypeModel::DefaultSettingsText() {
    return "The default settings include :\n\t- Proxy server port = 8080.\n\t- Use one proxy.\n\t- Update proxy list "
           "every hour.\n\t- Internet Explorer Settings(Clear history,.....).\n\t- Kill pop-up windows and flash "
           "banners.\n\t- Disable windows close-up event processing.\n\t- Disable time-based processing.\n\t- Browser "
           "and OS shielding.\n\t- Disable unsafe cookies.";
}

}  // namespace wizard
