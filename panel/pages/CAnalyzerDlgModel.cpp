#include "panel/pages/CAnalyzerDlgModel.h"

#include "panel/pages/GeneralPageIds.h"
#include "panel/pages/IWorkerControl.h"
#include "panel/pages/PageText.h"
#include "panel/pages/ProxyPageIds.h"
#include "platform/MessageBox.h"
#include "relay/analyzer/CAnalyzerConfig.h"

CAnalyzerDlgModel::CAnalyzerDlgModel(IWorkerControl& analyzer, CAnalyzerConfig& config,
                                     platform::HWND page, std::function<bool()> connected)
    : m_Analyzer(analyzer),
      m_Config(config),
      m_Page(page),
      m_Connected(connected ? std::move(connected) : std::function<bool()>(IsInternetConnected)) {}

std::vector<PageTip> CAnalyzerDlgModel::Tips() {
    return {{IDC_PROXY_LIST, PageString(1101)},
            {IDC_ANALYZER_LOG, PageString(1102)},
            {IDC_ANALYZER_START, PageString(1103)},
            {IDC_ANALYZER_TIMEOUT, PageString(1104)}};
}

void CAnalyzerDlgModel::Init() {
    m_State.timeOut = "5000";
    m_Config.GetProxyConfig().AttachWindow(m_Page);
    if (m_Analyzer.IsRunning()) {
        m_State.image = IDR_STOP;
        m_State.log = m_Config.GetProxyConfig().getLog();
    } else {
        m_State.image = IDR_START;
        m_State.log.clear();
        m_Config.GetProxyConfig().Reset();
    }
}

void CAnalyzerDlgModel::OnStartStop() {
    CProxyConfig& bridge = m_Config.GetProxyConfig();
    if (m_Analyzer.IsRunning()) {
        bridge.setShouldStop(true);
        m_Analyzer.Stop();
        return;
    }
    bridge.Reset();
    if (!m_Connected()) {
        platform::MessageBox(platform::HWND(),
                             "No Internet Connection found!\r\nPlease make sure that you are "
                             "connected to the Internet",
                             "Kavelin", platform::MB_OK);
        return;
    }
    m_State.timeOut = DecimalText(m_Config.setTimeOut(AsciiToInt(m_State.timeOut)));
    bridge.AttachWindow(m_Page);
    m_State.log = "Start Analyzing";
    m_Analyzer.Start();
    m_State.image = IDR_STOP;
}

void CAnalyzerDlgModel::OnEnd() {
    m_Analyzer.Stop();
    m_State.image = IDR_START;
    m_Analyzer.Reset();
}

void CAnalyzerDlgModel::OnLog() { m_State.log = m_Config.GetProxyConfig().getLog(); }

void CAnalyzerDlgModel::OnFound(IListSink& list) { m_Config.GetProxyConfig().AddToList(list); }

void CAnalyzerDlgModel::Destroy() { m_Config.GetProxyConfig().DetachWindow(); }
