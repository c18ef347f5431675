#pragma once
// Carries finished downloads from the download thread to the crawl: a
// queue under a lock and a manual-reset event set when an entry is queued.
// Every download queues exactly one entry, tagged with the request it
// answers, so a late answer to an abandoned request never stands in for
// the next page.

#include <memory>
#include <mutex>
#include <queue>
#include <string>

#include "platform/Event.h"
#include "platform/Types.h"
#include "relay/hunter/CDownloaded.h"

class CDownloadedManager {
public:
    CDownloadedManager();

    // Makes a manager of its own for the caller: S_OK, E_POINTER for a null
    // out, E_OUTOFMEMORY when it cannot be allocated (out is then empty).
    static platform::HRESULT Create(std::unique_ptr<CDownloadedManager>* out);
    // Downloads leave the browser's cache as the browser keeps it: S_FALSE
    // (1), nothing removed.
    static platform::HRESULT DeleteUrlFromCache(const std::string& url);

    // Drops every queued entry and resets the event.
    void Init();
    void AppendNewDownload(CDownloaded download);
    // Takes the entry answering tag into out, dropping older ones; false
    // when none is queued yet (the event is then reset).
    bool getDownloadedInfo(CDownloaded& out, unsigned tag);
    const platform::Event& GetEvent() const { return m_Finished; }

private:
    std::mutex m_Lock;
    std::queue<CDownloaded> m_Queue;
    platform::Event m_Finished;
};
