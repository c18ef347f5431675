#pragma once
// The hunter's settings dialog without its widgets. It edits the hunter
// section of the working settings in place and keeps the section as it was
// when the dialog was made, for Cancel; OK hands the whole working settings
// to the engine.

#include <functional>
#include <string>
#include <vector>

#include "panel/pages/PageTip.h"
#include "settings/CHunterSettings.h"

class CSettings;

class CHunterSettingsModel {
public:
    struct Control {
        bool enabled = true;
        bool checked = false;
    };
    struct State {
        Control defaultRadio, customRadio;
        Control serverRadio, urlRadio, localRadio;
        Control depthBox, autoAnalyzeBox, autoDeleteBox, excludeForeignBox;
        bool urlEditEnabled = true, localEditEnabled = true, openEnabled = true;
        bool depthEditEnabled = true, minutesEditEnabled = true, minutesLabelEnabled = true;
        std::string url, localUrl, depth, minutes;
    };
    // Hands the working settings to the engine (empty: CBaseServer's).
    using Apply = std::function<void(CSettings&)>;

    explicit CHunterSettingsModel(CSettings& working, Apply apply = {});

    void Init();
    const State& GetState() const { return m_State; }

    void OnDefault();
    void OnCustom();
    void OnSource(eUrlSource source);
    void OnDepthBox(bool checked);
    void OnAutoAnalyzeBox(bool checked);
    void OnAutoDeleteBox(bool checked);
    void OnExcludeForeignBox(bool checked);
    void OnUrlChanged(const std::string& text);
    void OnLocalUrlChanged(const std::string& text);
    void OnDepthChanged(const std::string& text);
    void OnMinutesChanged(const std::string& text);
    // The file the open dialog chose goes into the local-file edit.
    void OnFileChosen(const std::string& path);
    void Ok();
    void Cancel();

    static std::vector<PageTip> Tips();

private:
    void Load();
    CHunterSettings& Section();

    CSettings& m_Working;
    Apply m_Apply;
    CHunterSettings m_Saved;
    State m_State;
};
