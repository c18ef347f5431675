#include "panel/pages/CActivFilterModel.h"

#include "relay/engine/CBaseServer.h"
#include "relay/logs/CFiltrationLogger.h"

CActivFilterModel::CActivFilterModel(CFiltrationLogger& log, platform::HWND page)
    : m_Log(log), m_Page(page) {}

void CActivFilterModel::Init() {
    m_Log.Attach(m_Page);
    m_Log.UpdateView();
}

void CActivFilterModel::OnChanged(ITextSink& text) { m_Log.AddToLog(text); }

void CActivFilterModel::OnClear() { CBaseServer::ResetStatistics(); }

void CActivFilterModel::Destroy() { m_Log.Dettach(); }
