#pragma once
// The setup-type page's choice between the default settings (straight to the
// finish page) and the custom pages. The custom flag, set by the last box
// clicked, decides; the check marks only say whether a choice is made.

#include "settings/CSettings.h"

namespace wizard {

class CWizAutoConfigModel;

class CWizSetupTypeModel {
public:
    enum class eNext { NeedSelection, Custom, Default };

    // "Default Settings." checked, the custom flag 0.
    CWizSetupTypeModel() = default;

    // A click toggles the box itself, clears the other one and sets the
    // custom flag to the box clicked.
    void ClickDefault();
    void ClickCustom();

    bool IsDefaultChecked() const { return defaultChecked_; }
    bool IsCustomChecked() const { return customChecked_; }
    int GetCustomFlag() const { return custom_; }

    eNext Next() const;

    // The default road: starting address 127.0.0.1 and port 8082, the medium
    // preset, then the auto-configuration page's choices again so that they
    // survive the preset.
    static void ApplyDefaultSettings(CSettings& s, const CWizAutoConfigModel& autoConfig);

    // What the default settings include, as the page shows it.
    static const char* DefaultSettingsText();

private:
    bool defaultChecked_ = true;
    bool customChecked_ = false;
    int custom_ = 0;
};

}  // namespace wizard
