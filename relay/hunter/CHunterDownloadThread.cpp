#include "relay/hunter/CHunterDownloadThread.h"

#include <utility>

#include "relay/engine/EngineMessages.h"
#include "relay/hunter/CHunterThread.h"
#include "relay/hunter/CPageDownloader.h"

bool CHunterDownloadThread::InitInstance() {
    PostThreadMessage(WM_RELAY_HUNTER_QUIT, 0, 0);
    return true;
}

bool CHunterDownloadThread::PreTranslateMessage(platform::MSG& msg) {
    if (msg.message == WM_RELAY_HUNTER_DOWNLOAD) {
        OnDownload();
        return true;
    }
    return msg.message == WM_RELAY_HUNTER_QUIT;
}

void CHunterDownloadThread::OnDownload() {
    const CHunterThread::PendingDownload pending = m_Hunter.TakePendingDownload();
    CDownloaded result;
    result.m_Tag = pending.tag;
    if (!pending.url.empty()) {
        CProxyConfig& bridge = m_Hunter.getProxyConfig();
        bridge.AddToLog("Connecting...\r");
        CPageDownloader downloader(m_Hunter.GetPageLimits());
        CPageDownloader::Callbacks callbacks;
        callbacks.onData = [this] { m_Hunter.NoteProgress(); };
        callbacks.shouldAbort = [this] { return m_bAbort.load() || m_Hunter.getProxyConfig().getShouldStop(); };
        result.m_Success = downloader.Fetch(pending.url, pending.allowFile, result.m_Text, callbacks);
        bridge.AddToLog(result.m_Success ? "File download complete.\r" : "File download Failed.\r");
    }
    m_Hunter.Downloads().AppendNewDownload(std::move(result));
}
