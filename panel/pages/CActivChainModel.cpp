#include "panel/pages/CActivChainModel.h"

#include "relay/logs/CChainLogger.h"

CActivChainModel::CActivChainModel(CChainLogger& log, platform::HWND page)
    : m_Log(log), m_Page(page) {}

void CActivChainModel::Init() {
    m_Log.Attach(m_Page);
    m_Log.ViewAllElements();
}

void CActivChainModel::OnItem(ITreeSink& tree, platform::WPARAM index) {
    const int count = m_Log.GetListCount();
    if (count <= 0 || index >= static_cast<platform::WPARAM>(count)) return;
    m_Log.AddToList(tree, static_cast<unsigned>(index));
}

void CActivChainModel::OnClear() { m_Log.RemoveAllElements(); }

void CActivChainModel::Destroy() { m_Log.Dettach(); }
