#include "relay/hunter/CDownloadedManager.h"

#include <new>
#include <utility>

#include "relay/hunter/LowResources.h"

CDownloadedManager::CDownloadedManager() : m_Finished(true, false) {}

platform::HRESULT CDownloadedManager::Create(std::unique_ptr<CDownloadedManager>* out) {
    if (!out) return platform::E_POINTER;
    out->reset();
    try {
        ThrowIfLowResources();
        *out = std::make_unique<CDownloadedManager>();
    } catch (const std::bad_alloc&) {
        return platform::E_OUTOFMEMORY;
    }
    return platform::S_OK;
}

platform::HRESULT CDownloadedManager::DeleteUrlFromCache(const std::string&) { return platform::S_FALSE; }

void CDownloadedManager::Init() {
    std::lock_guard lock(m_Lock);
    m_Queue = {};
    m_Finished.Reset();
}

void CDownloadedManager::AppendNewDownload(CDownloaded download) {
    std::lock_guard lock(m_Lock);
    m_Queue.push(std::move(download));
    m_Finished.Set();
}

bool CDownloadedManager::getDownloadedInfo(CDownloaded& out, unsigned tag) {
    std::lock_guard lock(m_Lock);
    while (!m_Queue.empty()) {
        CDownloaded front = std::move(m_Queue.front());
        m_Queue.pop();
        if (front.m_Tag == tag) {
            out = std::move(front);
            if (m_Queue.empty()) m_Finished.Reset();
            return true;
        }
    }
    m_Finished.Reset();
    return false;
}
