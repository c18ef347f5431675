#include "relay/analyzer/CAnalyzerThread.h"

#include <exception>
#include <string>

#include "platform/MessageBox.h"
#include "relay/pool/CDatasetTranslator.h"
#include "relay/pool/CProxy.h"
#include "relay/pool/CProxyMap.h"

namespace {
constexpr std::size_t kMaxErrorText = 299;
}

CAnalyzerThread::CAnalyzerThread(CProxyMap& pool) : m_Pool(pool), m_Verifyer(&m_Config, &pool) {}

CAnalyzerThread::~CAnalyzerThread() { CAnalyzerThread::Stop(); }

void CAnalyzerThread::Cleanup() {
    std::lock_guard lock(m_StopCS);
    m_Finished.Set();
    m_Config.GetProxyConfig().setShouldStop(true);
    SetShouldStop(true);
    m_Verifyer.Abort();
}

bool CAnalyzerThread::Stop() {
    Cleanup();
    return CThread::Stop();
}

void CAnalyzerThread::Reset() { m_Config.GetProxyConfig().Reset(); }

bool CAnalyzerThread::Stopping() const {
    return ShouldStop() || m_Config.GetProxyConfig().getShouldStop();
}

platform::DWORD CAnalyzerThread::Run() {
    CProxyConfig& bridge = m_Config.GetProxyConfig();
    {
        // A stop asked for before this run got here stays asked for.
        std::lock_guard lock(m_StopCS);
        if (!ShouldStop()) {
            m_Finished.Reset();
            bridge.setShouldStop(false);
        }
    }
    bridge.AddToLog("Analysis Operation Begin");
    try {
        CDatasetTranslator rows(true);
        if (!m_Pool.GetAnalyzerWorkList(rows)) {
            bridge.AddToLog(m_Pool.GetDatabase().getLastError().c_str());
            bridge.AddToLog("Try again later!");
        } else {
            for (int i = 0; i < rows.GetRowCount() && !Stopping(); ++i) {
                AnalyzeRow(rows.GetRow(i), rows.GetColumnCount());
            }
        }
        if (bridge.getShouldStop()) {
            bridge.AddToLog("User Stopped Analysis Operation..");
            m_Verifyer.CloseSocket();
            SetShouldStop(true);
            throw false;
        }
    } catch (bool) {
        bridge.AddToLog("Analysis Operation Stopped By User!");
    }
    bridge.SendEndProcessMsg();
    bridge.AddToLog("Analysis Operation End");
    m_Finished.Set();
    bridge.setShouldStop(true);
    SetShouldStop(true);
    m_Verifyer.CloseSocket();
    return 0;
}

void CAnalyzerThread::AnalyzeRow(const char* const* row, int columns) {
    CProxy proxy;
    proxy.Read(row, columns);
    if (Stopping()) return;
    try {
        const bool passed = m_Verifyer.CheckProxy(&proxy, PROXY_TYPE_UNKNOWN);
        // A check cut short by a stop says nothing about the proxy: its
        // stored row stays as it was.
        if (m_Config.GetProxyConfig().getShouldStop()) return;
        m_Config.GetProxyConfig().AddProxy(proxy);
        m_Pool.IAddProxy(proxy);
        if (passed) m_Pool.AddPublicProxy(proxy);
    } catch (const std::exception& error) {
        platform::MessageBox(platform::HWND(), std::string(error.what()).substr(0, kMaxErrorText), "",
                             platform::MB_OK);
    }
}
