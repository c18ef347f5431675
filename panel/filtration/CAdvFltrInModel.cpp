#include "panel/filtration/CAdvFltrInModel.h"

#include <cstdio>
#include <stdexcept>

#include "panel/filtration/FiltrationIds.h"
#include "panel/pages/IPageHost.h"
#include "panel/pages/PageText.h"
#include "platform/MessageBox.h"
#include "settings/CSettings.h"

namespace {

constexpr const char* kCaption = "Kavelin Professional Edition";

// The switches besides 1018, each with its place in the settings.
struct Switch {
    int box;
    bool (CInFiltration::*get)() const;
    void (CInFiltration::*set)(bool);
    platform::DWORD CAdvancedFiltration::*advanced;
};

const Switch kSwitches[] = {
    {IDC_IN_BANNER_ADS, &CInFiltration::getBlockBannerAdds, &CInFiltration::setBlockBannerAdds, nullptr},
    {IDC_IN_SCRIPTS, &CInFiltration::getBlockScripts, &CInFiltration::setBlockScripts, nullptr},
    {IDC_IN_POPUPS, &CInFiltration::getBlockPopUps, &CInFiltration::setBlockPopUps, nullptr},
    {IDC_IN_IMAGES, &CInFiltration::getBlockImages, &CInFiltration::setBlockImages, nullptr},
    {IDC_IN_FLASH, &CInFiltration::getBlockBannerFlash, &CInFiltration::setBlockBannerFlash, nullptr},
    {IDC_IN_TITLE, &CInFiltration::getIsBlockTitle, &CInFiltration::setIsBlockTitle, nullptr},
    {IDC_IN_TIMER, nullptr, nullptr, &CAdvancedFiltration::mDisableTimerScripts},
    {IDC_IN_WND_CLOSEUP, nullptr, nullptr, &CAdvancedFiltration::mDisableWndCloseupEvents},
    {IDC_IN_STATUS_BAR, nullptr, nullptr, &CAdvancedFiltration::mRemoveStatusModifier},
    {IDC_IN_CONTEXT_MENU, nullptr, nullptr, &CAdvancedFiltration::mRemoveContextMenu},
    {IDC_IN_JAVA, nullptr, nullptr, &CAdvancedFiltration::mDisableJavaApplets},
};

// Characters of a UTF-8 text (continuation bytes do not count).
std::size_t CharCount(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char c : text) n += (c & 0xC0) != 0x80;
    return n;
}

}  // namespace

CAdvFltrInModel::CAdvFltrInModel(IPageHost& host) : m_Host(host) {
    for (int box : Boxes()) {
        m_Checks[box] = 0;
        m_Controls[box];
    }
    for (int id : {IDC_IN_TITLE_TEXT, IDC_IN_BANNER_SETTINGS, IDC_IN_SELECT_ALL, IDC_IN_DESELECT_ALL}) {
        m_Controls[id];
    }
    m_Controls[IDC_IN_DESELECT_ALL].shown = false;
}

const std::vector<int>& CAdvFltrInModel::Boxes() {
    static const std::vector<int> boxes = [] {
        std::vector<int> all{IDC_IN_ENABLE};
        for (const Switch& s : kSwitches) all.push_back(s.box);
        return all;
    }();
    return boxes;
}

const std::vector<PageTip>& CAdvFltrInModel::Tips() {
    static const std::vector<PageTip> tips = {
        {IDC_IN_ENABLE, PageString(1052)},
        {IDC_IN_BANNER_ADS, PageString(1065)},
        {IDC_IN_SCRIPTS, PageString(1053)},
        {IDC_IN_POPUPS, PageString(1054)},
        {IDC_IN_IMAGES, PageString(1055)},
        {IDC_IN_FLASH, PageString(1056)},
        {IDC_IN_TITLE,
         "Select to remove page title.\r\n You can replace the title of the browsed page by typing the "
         "string you desire in the edit box on the right side."},
        {IDC_IN_TITLE_TEXT, PageString(1058)},
        {IDC_IN_TIMER, PageString(1059)},
        {IDC_IN_WND_CLOSEUP, PageString(1060)},
        {IDC_IN_STATUS_BAR, PageString(1061)},
        {IDC_IN_CONTEXT_MENU, PageString(1062)},
        {IDC_IN_JAVA, PageString(32784)},
        {IDC_IN_BANNER_SETTINGS, PageString(1064)},
        {IDC_IN_SELECT_ALL, PageString(1063)},
    };
    return tips;
}

bool CAdvFltrInModel::IsChecked(int box) const {
    const auto found = m_Checks.find(box);
    if (found == m_Checks.end()) throw std::out_of_range("no such incoming-filtration box");
    return found->second != 0;
}

const CAdvFltrInModel::Control& CAdvFltrInModel::GetControl(int id) const {
    const auto found = m_Controls.find(id);
    if (found == m_Controls.end()) throw std::out_of_range("no such incoming-filtration control");
    return found->second;
}

void CAdvFltrInModel::Load() {
    const CFiltrationSettings& f = *m_Host.WorkingSettings().getFiltrationSettings();
    m_Checks[IDC_IN_ENABLE] = f.mInFiltration.getEnable();
    for (const Switch& s : kSwitches) {
        m_Checks[s.box] = s.advanced ? (f.mAdvancedFiltration.*s.advanced != 0) : (f.mInFiltration.*s.get)();
    }
    m_Title = f.mInFiltration.getBlockTitle();
    Refresh();
}

void CAdvFltrInModel::Store() {
    CFiltrationSettings& f = *m_Host.WorkingSettings().getFiltrationSettings();
    f.mInFiltration.setEnable(m_Checks[IDC_IN_ENABLE] != 0);
    for (const Switch& s : kSwitches) {
        if (s.advanced) f.mAdvancedFiltration.*s.advanced = static_cast<platform::DWORD>(m_Checks[s.box]);
        else (f.mInFiltration.*s.set)(m_Checks[s.box] != 0);
    }
}

void CAdvFltrInModel::Refresh() {
    const bool on = m_Checks[IDC_IN_ENABLE] != 0;
    for (const Switch& s : kSwitches) m_Controls[s.box].enabled = on;
    m_Controls[IDC_IN_ENABLE].enabled = true;
    m_Controls[IDC_IN_SELECT_ALL].enabled = on;
    m_Controls[IDC_IN_DESELECT_ALL].enabled = on;
    m_Controls[IDC_IN_BANNER_SETTINGS].enabled = on && m_Checks[IDC_IN_BANNER_ADS];
    m_Controls[IDC_IN_TITLE_TEXT].enabled = on && m_Checks[IDC_IN_TITLE];
}

void CAdvFltrInModel::OnBoxClicked(int box, bool checked) {
    if (!m_Checks.contains(box)) throw std::out_of_range("no such incoming-filtration box");
    m_Checks[box] = checked ? 1 : 0;
    m_Host.SetModified(true, 0);
    Store();
    Refresh();
}

void CAdvFltrInModel::OnTitleChanged(const std::string& text) {
    m_Title = text;
    if (CharCount(m_Title) > kMaxTitle) {
        m_Title = kTitleReplacement;
        char message[160];
        std::snprintf(message, sizeof message,
                      "You have exceeded the maximum allowed length of the page title.\r\n"
                      "You can only use up to %d characters.",
                      static_cast<int>(kMaxTitle));
        platform::MessageBox(platform::HWND(), message, kCaption, platform::MB_OK);
    }
    CInFiltration& in = m_Host.WorkingSettings().getFiltrationSettings()->mInFiltration;
    if (m_Title != in.getBlockTitle()) {
        m_Host.SetModified(true, 0);
        in.setBlockTitle(m_Title.c_str());
    }
}

void CAdvFltrInModel::SetAll(bool checked) {
    m_Host.SetModified(true, 0);
    for (const Switch& s : kSwitches) m_Checks[s.box] = checked ? 1 : 0;
    Store();
    Refresh();
    Control& hide = m_Controls[checked ? IDC_IN_SELECT_ALL : IDC_IN_DESELECT_ALL];
    Control& show = m_Controls[checked ? IDC_IN_DESELECT_ALL : IDC_IN_SELECT_ALL];
    hide.shown = false;
    hide.enabled = false;
    show.shown = true;
    show.enabled = true;
}

void CAdvFltrInModel::OnSelectAll() { SetAll(true); }
void CAdvFltrInModel::OnDeselectAll() { SetAll(false); }

void CAdvFltrInModel::OnFilterSwitch(bool on) { OnBoxClicked(IDC_IN_ENABLE, on); }
