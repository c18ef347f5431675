#include "relay/hunter/CHunterDownloadThread.h"

#include <utility>

#include "relay/engine/EngineMessages.h"
#include "relay/hunter/CHunterThread.h"
#include "relay/hunter/CUrlDownloadMoniker.h"

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
        CUrlDownloadMoniker moniker(m_Hunter.getProxyConfig(), [this] { m_Hunter.NoteProgress(); });
        result.m_Success = moniker.Open(
            pending.url, pending.allowFile, m_Hunter.GetPageLimits(),
            [this, tag = pending.tag] {
                return m_bAbort.load() || m_Hunter.getProxyConfig().getShouldStop() || !m_Hunter.IsAwaited(tag);
            },
            result.m_Text);
    }
    // An empty address still answers the crawl's wait, with a failure.
    m_Hunter.Downloads().AppendNewDownload(std::move(result));
}
