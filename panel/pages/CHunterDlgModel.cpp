#include "panel/pages/CHunterDlgModel.h"

#include <memory>

#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/IProxyPoolOps.h"
#include "panel/pages/IProxyRows.h"
#include "panel/pages/IWorkerControl.h"
#include "panel/pages/PageText.h"
#include "panel/pages/ProxyPageIds.h"
#include "platform/MessageBox.h"
#include "relay/analyzer/CProxyConfig.h"
#include "relay/engine/CBaseServer.h"
#include "relay/pool/CProxy.h"

CHunterDlgModel::CHunterDlgModel(Engine engine, platform::HWND page)
    : m_Engine(std::move(engine)), m_Page(page) {
    if (!m_Engine.connected) m_Engine.connected = IsInternetConnected;
    if (!m_Engine.sourceType) m_Engine.sourceType = EngineSourceType;
}

std::vector<PageTip> CHunterDlgModel::Tips() {
    return {{IDC_HUNTER_LIST, PageString(1139)},
            {IDC_HUNTER_START, PageString(1140)},
            {IDC_HUNTER_SETTINGS, PageString(1141)},
            {IDC_HUNTER_DELETE, PageString(1142)},
            {IDC_HUNTER_LOG, PageString(1143)}};
}

eUrlSource CHunterDlgModel::EngineSourceType() {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    return CBaseServer::mSettings.getHunterSettings()->GetSourceType();
}

void CHunterDlgModel::ShowLook(bool running) {
    m_State.runningLook = running;
    m_State.startImage = running ? IDR_STOP : IDR_START;
    m_State.startPushedImage = running ? IDR_STOP_PUSHED : IDR_START_PUSHED;
    m_State.startDisabledImage = running ? 0 : IDR_START_DISABLED;
    m_State.toolsEnabled = !running;
}

void CHunterDlgModel::AppendLog(const std::string& text) { m_State.log += text + "\r\n"; }

void CHunterDlgModel::Init() {
    m_Engine.bridge.AttachWindow(m_Page);
    if (m_Engine.hunter.IsRunning()) {
        ShowLook(true);
        m_State.log = m_Engine.bridge.getLog();
    } else {
        ShowLook(false);
        m_State.log.clear();
        m_Engine.bridge.Reset();
    }
}

void CHunterDlgModel::OnStartStop() {
    if (m_Engine.hunter.IsRunning()) {
        AppendLog("\r\n---User has stopped hunting-----\r\n");
        m_Engine.bridge.setShouldStop(true);
        m_Engine.hunter.Stop();
        ShowLook(false);
        return;
    }
    m_State.log.clear();
    m_Engine.bridge.Reset();
    if (m_Engine.sourceType() != eLocalFile && !m_Engine.connected()) {
        platform::MessageBox(platform::HWND(),
                             "No InternetConnection found!\r\nPlease make sure that you are "
                             "connected to the Internet",
                             "Kavelin", platform::MB_OK);
        return;
    }
    m_Engine.bridge.AttachWindow(m_Page);
    m_Engine.hunter.Start();
    ShowLook(m_Engine.hunter.IsRunning());
}

void CHunterDlgModel::OnDeleteProxy(IProxyRows& rows) {
    // Every selected row leaves the view, so the loop ends; a row without
    // an address has nothing in the pool to remove.
    for (int row = rows.GetFirstSelected(); row >= 0; row = rows.GetFirstSelected()) {
        const std::string address = rows.GetItemText(row, 0);
        const std::string port = rows.GetItemText(row, 1);
        if (!address.empty()) {
            m_Engine.pool.RemoveProxyNow(
                CProxy(address.c_str(), AsciiToInt(port), PROXY_TYPE_UNKNOWN, "unknown"));
        }
        rows.DeleteItem(row);
    }
}

void CHunterDlgModel::OnEnd() {
    m_Engine.hunter.Stop();
    AppendLog("Proxy Hunting Operation Done!.");
    ShowLook(false);
}

void CHunterDlgModel::OnLog() {
    if (!m_State.runningLook && m_Engine.hunter.IsRunning()) ShowLook(true);
    m_State.log = m_Engine.bridge.getLog();
}

void CHunterDlgModel::OnFound(IListSink& list) { m_Engine.bridge.AddToList(list); }

void CHunterDlgModel::Destroy() { m_Engine.bridge.DetachWindow(); }
