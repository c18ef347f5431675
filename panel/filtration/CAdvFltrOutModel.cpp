#include "panel/filtration/CAdvFltrOutModel.h"

#include <stdexcept>

#include "cleanup/CClearTemporaryInternetFiles.h"
#include "cleanup/COperaHistory.h"
#include "cleanup/COperaTempFiles.h"
#include "panel/filtration/FiltrationIds.h"
#include "panel/filtration/ServerNames.h"
#include "panel/pages/IPageHost.h"
#include "panel/pages/PageText.h"
#include "settings/CSettings.h"

namespace {

struct Flag {
    int box;
    int (COutFiltration::*get)() const;
    void (COutFiltration::*set)(int);
};

const Flag kFlags[] = {
    {IDC_OUT_ENABLE, &COutFiltration::IsEnable, &COutFiltration::SetEnable},
    {IDC_OUT_OS_SHIELD, &COutFiltration::IsOsShield, &COutFiltration::SetOsShield},
    {IDC_OUT_COOKIES, &COutFiltration::IsDiabledCookies, &COutFiltration::SetDiabledCookies},
    {IDC_OUT_REFERRER, &COutFiltration::IsBlockReferrer, &COutFiltration::SetBlockReferrer},
    {IDC_OUT_FILE_CACHE, &COutFiltration::IsDisabledFileCache, &COutFiltration::SetDisabledFileCache},
    {IDC_OUT_SERVER_LIST, &COutFiltration::IsEnableServerList, &COutFiltration::SetEnableServerList},
};

// The boxes that filtration enables and "Select All" checks (1029 besides).
constexpr int kSwitchBoxes[] = {IDC_OUT_OS_SHIELD, IDC_OUT_COOKIES, IDC_OUT_REFERRER, IDC_OUT_FILE_CACHE};

}  // namespace

CAdvFltrOutModel::CAdvFltrOutModel(IPageHost& host, AskServerName ask, ClearCaches clearCaches)
    : m_Host(host),
      m_Ask(std::move(ask)),
      m_ClearCaches(clearCaches ? std::move(clearCaches) : ClearCaches(ClearBrowserCaches)) {
    for (const Flag& f : kFlags) {
        m_Checks[f.box] = 0;
        m_Controls[f.box];
    }
    for (int id : {IDC_OUT_STOP_LIST, IDC_OUT_ADD, IDC_OUT_REMOVE, IDC_OUT_SELECT_ALL, IDC_OUT_DESELECT_ALL}) {
        m_Controls[id];
    }
    m_Controls[IDC_OUT_DESELECT_ALL].shown = false;
}

const std::vector<int>& CAdvFltrOutModel::Boxes() {
    static const std::vector<int> boxes = [] {
        std::vector<int> all;
        for (const Flag& f : kFlags) all.push_back(f.box);
        return all;
    }();
    return boxes;
}

const std::vector<PageTip>& CAdvFltrOutModel::Tips() {
    static const std::vector<PageTip> tips = {
        {IDC_OUT_ENABLE, PageString(1066)},
        {IDC_OUT_OS_SHIELD, PageString(1067)},
        {IDC_OUT_COOKIES,
         "Block cookies.\r\nYou should be careful when using this option, as some web pages won\xE2\x80\x99t "
         "work unless they place cookies on your system ."},
        {IDC_OUT_REFERRER, PageString(1070)},
        {IDC_OUT_FILE_CACHE,
         "Block File caching.\r\nThis options means that all sites you visit is loaded from the destination "
         "server every time."},
        {IDC_OUT_SERVER_LIST, PageString(1181)},
        {IDC_OUT_STOP_LIST, PageString(1071)},
        {IDC_OUT_ADD, PageString(1073)},
        {IDC_OUT_REMOVE, PageString(1072)},
        {IDC_OUT_SELECT_ALL, PageString(1040)},
    };
    return tips;
}

void CAdvFltrOutModel::ClearBrowserCaches() {
    CClearTemporaryInternetFiles().Clear(true);
    COperaHistory().Clear(true);
    COperaTempFiles().Clear(true);
}

bool CAdvFltrOutModel::IsChecked(int box) const {
    const auto found = m_Checks.find(box);
    if (found == m_Checks.end()) throw std::out_of_range("no such outgoing-filtration box");
    return found->second != 0;
}

const CAdvFltrOutModel::Control& CAdvFltrOutModel::GetControl(int id) const {
    const auto found = m_Controls.find(id);
    if (found == m_Controls.end()) throw std::out_of_range("no such outgoing-filtration control");
    return found->second;
}

void CAdvFltrOutModel::Load() {
    const COutFiltration& out = m_Host.WorkingSettings().getFiltrationSettings()->mOutFiltration;
    for (const Flag& f : kFlags) m_Checks[f.box] = (out.*f.get)();
    m_Lines = servernames::SortedLines(out.GetServerStopList());
    Refresh();
}

void CAdvFltrOutModel::Store() {
    COutFiltration& out = m_Host.WorkingSettings().getFiltrationSettings()->mOutFiltration;
    for (const Flag& f : kFlags) (out.*f.set)(m_Checks[f.box]);
    out.GetServerStopList() = m_Lines;
}

void CAdvFltrOutModel::Refresh() {
    const bool on = m_Checks[IDC_OUT_ENABLE] != 0;
    for (int box : kSwitchBoxes) m_Controls[box].enabled = on;
    m_Controls[IDC_OUT_ENABLE].enabled = true;
    m_Controls[IDC_OUT_SERVER_LIST].enabled = true;
    m_Controls[IDC_OUT_SELECT_ALL].enabled = on;
    m_Controls[IDC_OUT_DESELECT_ALL].enabled = on;
    const bool list = on && m_Checks[IDC_OUT_SERVER_LIST];
    for (int id : {IDC_OUT_STOP_LIST, IDC_OUT_ADD, IDC_OUT_REMOVE}) m_Controls[id].enabled = list;
}

void CAdvFltrOutModel::OnBoxClicked(int box, bool checked) {
    if (!m_Checks.contains(box)) throw std::out_of_range("no such outgoing-filtration box");
    m_Checks[box] = checked ? 1 : 0;
    m_Host.SetModified(true, 0);
    Store();
    Refresh();
}

void CAdvFltrOutModel::OnAdd() {
    const std::optional<std::string> typed = m_Ask ? m_Ask(servernames::kSampleServer) : std::nullopt;
    // An empty entry would never name a server.
    if (!typed || typed->empty()) return;
    std::string name = servernames::ToLower(*typed);
    if (servernames::ContainsNoCase(m_Host.WorkingSettings().getFiltrationSettings()->mOutFiltration.GetServerStopList(),
                                    name)) {
        return;
    }
    m_Host.SetModified(true, 0);
    servernames::InsertSorted(m_Lines, std::move(name));
    Store();
}

void CAdvFltrOutModel::OnRemove(int selected) {
    if (selected >= 0 && static_cast<std::size_t>(selected) < m_Lines.size()) {
        m_Host.SetModified(true, 0);
        m_Lines.erase(m_Lines.begin() + selected);
        Store();
    }
    m_ClearCaches();
}

void CAdvFltrOutModel::SetAll(bool checked) {
    m_Host.SetModified(true, 0);
    for (int box : kSwitchBoxes) m_Checks[box] = checked ? 1 : 0;
    m_Checks[IDC_OUT_SERVER_LIST] = checked ? 1 : 0;
    Store();
    Refresh();
    Control& hide = m_Controls[checked ? IDC_OUT_SELECT_ALL : IDC_OUT_DESELECT_ALL];
    Control& show = m_Controls[checked ? IDC_OUT_DESELECT_ALL : IDC_OUT_SELECT_ALL];
    hide.shown = false;
    hide.enabled = false;
    show.shown = true;
    show.enabled = true;
}

void CAdvFltrOutModel::OnSelectAll() { SetAll(true); }
void CAdvFltrOutModel::OnDeselectAll() { SetAll(false); }

void CAdvFltrOutModel::OnFilterSwitch(bool on) { OnBoxClicked(IDC_OUT_ENABLE, on); }
