#include "panel/pages/CActivProgModel.h"

#include "relay/logs/CProgLog.h"

CActivProgModel::CActivProgModel(CProgLog& log, platform::HWND page) : m_Log(log), m_Page(page) {}

void CActivProgModel::Init() {
    m_Log.Attach(m_Page);
    m_Log.ViewAllElements();
}

void CActivProgModel::OnItem(IRowSink& list, platform::WPARAM index) {
    // AddToList checks the index against the log under its lock.
    if (index >= CProgLog::kNoEntry) return;
    m_Log.AddToList(list, static_cast<unsigned>(index));
}

void CActivProgModel::OnClear() { m_Log.ClearProgLog(); }

void CActivProgModel::Destroy() { m_Log.Dettach(); }
