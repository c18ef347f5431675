#include "panel/pages/CHunterSettingsModel.h"

#include <cstdio>

#include "panel/pages/PageText.h"
#include "panel/pages/ProxyPageIds.h"
#include "platform/MessageBox.h"
#include "relay/engine/CBaseServer.h"
#include "settings/CSettings.h"

namespace {
constexpr int kMaxDepth = 5;
constexpr int kMinutesLimit = 10000;
}  // namespace

CHunterSettingsModel::CHunterSettingsModel(CSettings& working, Apply apply)
    : m_Working(working),
      m_Apply(apply ? std::move(apply) : Apply([](CSettings& s) { CBaseServer::ApplySettings(s); })),
      m_Saved(*working.getHunterSettings()) {}

CHunterSettings& CHunterSettingsModel::Section() { return *m_Working.getHunterSettings(); }

std::vector<PageTip> CHunterSettingsModel::Tips() {
    return {{IDC_HS_DEFAULT, PageString(1123)},        {IDC_HS_CUSTOM, PageString(1124)},
            {IDC_HS_SERVER, PageString(1125)},         {IDC_HS_URL, PageString(1129)},
            {IDC_HS_URL_EDIT, PageString(1130)},       {IDC_HS_LOCAL, PageString(1131)},
            {IDC_HS_LOCAL_EDIT, PageString(1132)},     {IDC_HS_DEPTH, PageString(1134)},
            {IDC_HS_DEPTH_EDIT, PageString(1135)},     {IDC_HS_AUTO_ANALYZE, PageString(1127)},
            {IDC_HS_AUTO_DELETE, PageString(1126)},    {IDC_HS_EXCLUDE_FOREIGN, PageString(1128)},
            {IDC_HS_OK, PageString(1051)},             {IDC_HS_CANCEL, PageString(1098)}};
}

void CHunterSettingsModel::Init() { Load(); }

void CHunterSettingsModel::Load() {
    CHunterSettings& section = Section();
    State& s = m_State;
    const bool isDefault = section.GetIsDefault() == 1;
    if (isDefault) section.SetDefaultHunterSettings();
    s.defaultRadio.checked = isDefault;
    s.customRadio.checked = !isDefault;
    const bool custom = !isDefault;
    for (Control* c : {&s.serverRadio, &s.urlRadio, &s.localRadio, &s.depthBox, &s.autoDeleteBox,
                       &s.autoAnalyzeBox, &s.excludeForeignBox}) {
        c->enabled = custom;
    }
    s.urlEditEnabled = s.localEditEnabled = custom;
    if (custom) OnSource(section.GetSourceType());

    s.autoDeleteBox.checked = section.GetIsAutoDeleteFailedProxiesEnabled() != 0;
    s.depthBox.checked = section.GetIsDepthEnabled() != 0;
    s.depthEditEnabled = s.depthBox.checked && s.depthBox.enabled;
    s.autoAnalyzeBox.checked = section.GetIsAutoAnalyzerEnabled() != 0;
    s.minutesEditEnabled = s.minutesLabelEnabled = s.autoAnalyzeBox.checked && s.autoAnalyzeBox.enabled;
    s.excludeForeignBox.checked = section.GetIsExcludeForignerServersEnabled() != 0;
    s.depth = DecimalText(static_cast<int>(section.GetDepth()));
    s.minutes = DecimalText(static_cast<int>(section.GetAutoAnalyzeMins()));
    s.localUrl = section.GetLocalURL();
    s.url = section.GetURL();
}

void CHunterSettingsModel::OnDefault() {
    Section().SetIsDefault(1);
    Load();
}

void CHunterSettingsModel::OnCustom() {
    Section().SetIsDefault(0);
    Load();
}

void CHunterSettingsModel::OnSource(eUrlSource source) {
    Section().SetSourceType(source);
    m_State.serverRadio.checked = source == eKavelinServer;
    m_State.urlRadio.checked = source == eUserURL;
    m_State.localRadio.checked = source == eLocalFile;
    m_State.urlEditEnabled = source == eUserURL;
    m_State.localEditEnabled = m_State.openEnabled = source == eLocalFile;
}

void CHunterSettingsModel::OnDepthBox(bool checked) {
    m_State.depthBox.checked = checked;
    Section().SetIsDepthEnabled(checked ? 1 : 0);
    m_State.depthEditEnabled = checked;
}

void CHunterSettingsModel::OnAutoAnalyzeBox(bool checked) {
    m_State.autoAnalyzeBox.checked = checked;
    Section().SetIsAutoAanlyzerEnabled(checked ? 1 : 0);
    m_State.minutesEditEnabled = checked;
    if (m_State.autoDeleteBox.enabled) m_State.minutesLabelEnabled = checked;
}

void CHunterSettingsModel::OnAutoDeleteBox(bool checked) {
    m_State.autoDeleteBox.checked = checked;
    Section().SetIsAutoDeleteFailedProxiesEnabled(checked ? 1 : 0);
}

void CHunterSettingsModel::OnExcludeForeignBox(bool checked) {
    m_State.excludeForeignBox.checked = checked;
    Section().SetIsExcludeForignerServersEnabled(checked ? 1 : 0);
}

void CHunterSettingsModel::OnUrlChanged(const std::string& text) {
    m_State.url = text;
    Section().SetURL(text);
}

void CHunterSettingsModel::OnLocalUrlChanged(const std::string& text) {
    m_State.localUrl = text;
    Section().SetLocalURL(text);
}

void CHunterSettingsModel::OnFileChosen(const std::string& path) { OnLocalUrlChanged(path); }

void CHunterSettingsModel::OnDepthChanged(const std::string& text) {
    const int depth = AsciiToInt(text);
    if (depth < 0 || depth > kMaxDepth) {
        platform::MessageBox(platform::HWND(), "Depth ranges between 0 and 5", "Kavelin",
                             platform::MB_OK);
        // The edit's new text is a change like any other.
        OnDepthChanged("0");
        return;
    }
    m_State.depth = text;
    Section().SetDepth(static_cast<platform::DWORD>(depth));
}

void CHunterSettingsModel::OnMinutesChanged(const std::string& text) {
    const int minutes = AsciiToInt(text);
    // A negative count would be stored as a huge unsigned one.
    if (minutes < 0 || minutes >= kMinutesLimit) {
        char message[96];
        std::snprintf(message, sizeof message,
                      "AutoRefresh rate ranges between %d and %d minutes", 15, 9999);
        platform::MessageBox(platform::HWND(), message, "Kavelin", platform::MB_OK);
        OnMinutesChanged("0");
        return;
    }
    m_State.minutes = text;
    Section().SetAutoAnalyzeMins(static_cast<platform::DWORD>(minutes));
}

void CHunterSettingsModel::Ok() {
    CHunterSettings& section = Section();
    const State& s = m_State;
    section.SetURL(s.url);
    section.SetLocalURL(s.localUrl);
    const int depth = AsciiToInt(s.depth);
    const int minutes = AsciiToInt(s.minutes);
    section.SetDepth(static_cast<platform::DWORD>(depth < 0 ? 0 : depth));
    section.SetAutoAnalyzeMins(static_cast<platform::DWORD>(minutes < 0 ? 0 : minutes));
    section.SetIsDefault(s.defaultRadio.checked ? 1 : 0);
    section.SetIsAutoDeleteFailedProxiesEnabled(s.autoDeleteBox.checked ? 1 : 0);
    section.SetIsAutoAanlyzerEnabled(s.autoAnalyzeBox.checked ? 1 : 0);
    section.SetIsDepthEnabled(s.depthBox.checked ? 1 : 0);
    section.SetIsExcludeForignerServersEnabled(s.excludeForeignBox.checked ? 1 : 0);
    m_Apply(m_Working);
}

void CHunterSettingsModel::Cancel() { Section() = m_Saved; }
