#pragma once
// The hunter's settings dialog (template 186, a borderless modal popup):
// where the hunt starts and how deep it goes. It edits the working
// settings' hunter section in place; OK hands the settings to the engine,
// Cancel puts the section back as it was.

#include <map>
#include <memory>

#include "panel/pages/CHunterSettingsModel.h"
#include "panel/pages/CPopupDlg.h"
#include "panel/pages/CRadioGroup.h"

class wxCheckBox;
class wxStaticText;
class wxTextCtrl;

class CProxyAnalyzerAdvancedSettings : public CPopupDlg {
public:
    explicit CProxyAnalyzerAdvancedSettings(CServerHost* host = CServerHost::Current());

    const CHunterSettingsModel& Model() const { return *m_pModel; }
    // The file the open dialog would put into the local-file edit.
    void ChooseFile(const std::string& path);
    void OnOk();
    void OnCancel() override;

protected:
    bool OnInitDialog() override;
    void OnPaint() override;

private:
    void ShowState();

    std::unique_ptr<CHunterSettingsModel> m_pModel;
    bool m_bMixChain = true;
    bool m_bShowing = false;
    // Default or custom settings (1008, 1009); the source (1118, 1119, 1120).
    std::unique_ptr<CRadioGroup> m_pKinds;
    std::unique_ptr<CRadioGroup> m_pSources;
    std::map<int, wxRadioButton*> m_Radios;  // every button of both groups
    std::map<int, wxCheckBox*> m_Boxes;
    wxTextCtrl* m_pUrl = nullptr;
    wxTextCtrl* m_pLocal = nullptr;
    wxTextCtrl* m_pDepth = nullptr;
    wxTextCtrl* m_pMinutes = nullptr;
    wxStaticText* m_pMinutesLabel = nullptr;
    wxWindow* m_pOpen = nullptr;
};
