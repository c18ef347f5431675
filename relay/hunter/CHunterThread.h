#pragma once
// The proxy hunter: from one source address it downloads the page, keeps it
// as a file in the program folder, hands its text to the proxy parser (which
// adds every proxy found to the pool), and follows the page's links depth
// first down to the configured depth. Downloads run on the download thread
// (CHunterDownloadThread); progress, found proxies and the end of the hunt
// reach the hunter page through the bridge (getProxyConfig). When asked, the
// analyzer is started once the hunt is over.
//
// Threads: the hunter thread crawls; the download thread fetches; the
// panel's thread reads the bridge and asks for stops. The pending download
// is handed over under m_PendingCS; results come back through the download
// manager, tagged with the request they answer.

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "relay/hunter/CDownloaded.h"
#include "relay/hunter/CDownloadedManager.h"
#include "relay/hunter/CHunterConfig.h"
#include "relay/hunter/CPageDownloader.h"
#include "relay/hunter/CProxyParser.h"
#include "relay/pool/CThread.h"

class CHunterDownloadThread;
class CHunterSettings;
class CUrlNode;

class CHunterThread : public CThread {
public:
    struct PendingDownload {
        std::string url;
        unsigned tag = 0;
        bool allowFile = false;
    };

    CHunterThread();
    ~CHunterThread() override;

    // Sets the thread's stop event, the bridge's stop flag and the thread's
    // stop flag, then waits as CThread::Stop does.
    bool Stop() override;
    platform::DWORD Run() override;

    // Start the analyzer at the end of the next hunt.
    void SetAnalyzeAfterHunt(bool analyze) { m_bAnalyzeAfterHunt.store(analyze); }
    bool GetAnalyzeAfterHunt() const { return m_bAnalyzeAfterHunt.load(); }

    // The download thread: started when the panel attaches its main window,
    // ended when it detaches. Startup is true when the thread runs.
    bool Startup();
    void Shutdown();

    // The hunter section of CBaseServer::mSettings; read under its lock.
    void SetSettings(CHunterSettings* settings);
    CProxyConfig& getProxyConfig() { return m_Config.m_ProxyConfig; }

    // How long a download may go without new data and how big a page may
    // be (also the period of the crawl's download wait).
    void SetPageLimits(PageLimits limits);
    PageLimits GetPageLimits();

    // The number of successful downloads of the last hunt.
    int GetDownloadCount() const { return m_nDownloads.load(); }

    // Downloads one address into its page file, as the crawl downloads a
    // page (through the download thread, ended by a stop), and notes it in
    // the list of requested addresses. 0, or E_FAIL with "Downloading
    // Failed: address" logged. A hunt's end counts as a stop until the next
    // hunt starts.
    long DownloadLink(const std::string& address);
    // Links are taken by the crawl's own rules: 0, nothing done.
    long HandleAbsoluteLink(const std::string& link);
    // The full paths of the files (not folders) in folder whose names match
    // a wildcard pattern ("*.*", "?"), sorted.
    static std::vector<std::string> GetFolderFileNames(const std::string& folder, const std::string& pattern);
    // The stop settings of Stop, without the wait.
    void Cleanup();
    // Asks the crawl to end at its next check (the bridge's stop flag).
    void StopHunting();
    // The source of a hunt whose settings name no source type of their own.
    void SetSourceURL(const std::string& address);
    // Every address DownloadLink was asked for, each after a line break.
    std::string GetRequestedAddresses() const;

    // For the download thread.
    PendingDownload TakePendingDownload();
    void NoteProgress() { m_bProgress.store(true); }
    // False once the crawl no longer waits for the download of tag: a stop
    // that reached the crawl first must still end that transfer, even when
    // the next hunt has cleared the stop meanwhile.
    bool IsAwaited(unsigned tag) const { return m_nAwaitedTag.load() == tag; }
    CDownloadedManager& Downloads() { return m_Downloads; }

private:
    void Crawl(const std::string& address, int level);
    // 0 when the page was fetched and written to its file, else E_FAIL.
    // allowFile: the address may name a local file.
    long UrlDownload(CUrlNode& node, bool allowFile);
    std::vector<std::string> ExtractURLS(const CUrlNode& node);
    // Throws E_FAIL when a stop was asked for.
    void CheckStopFlag();
    void AddToLog(const std::string& text);
    // The settings copy the hunt runs with (defaults applied first when the
    // default flag is set).
    CHunterSettings TakeSettings();

    CHunterConfig m_Config;
    std::mutex m_PendingCS;
    PendingDownload m_Pending;
    unsigned m_nLastTag = 0;
    std::atomic<unsigned> m_nAwaitedTag{0};
    std::atomic<bool> m_bProgress{false};
    CDownloadedManager m_Downloads;
    std::mutex m_DownloadThreadCS;
    std::unique_ptr<CHunterDownloadThread> m_pDownloadThread;
    std::string m_WorkingFolder;
    mutable std::mutex m_SourceCS;
    std::string m_SourceURL;
    mutable std::mutex m_RequestedCS;
    std::string m_RequestedAddresses;
    bool m_bSourceIsLocal = false;
    int m_nMaxDepth = 0;
    std::atomic<int> m_nDownloads{0};
    std::map<std::string, CDownloaded> m_Visited;
    CProxyParser m_Parser;
    std::atomic<bool> m_bAnalyzeAfterHunt{false};
    std::mutex m_LimitsCS;
    PageLimits m_Limits;
};

// Reads a page file whole, trims white space at both ends and turns it to
// lower case. False when the file cannot be opened.
bool ReadPageFile(const std::string& path, std::string& text);

// Whether an anchor's href is followed, and where to: empty when skipped.
std::string ResolveLink(const std::string& href, const std::string& baseUrl);
