#include "relay/hunter/CHunterThread.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>

#include "platform/FileFind.h"
#include "platform/MessageBox.h"
#include "platform/Root.h"
#include "platform/Types.h"
#include "platform/Wait.h"
#include "relay/analyzer/CAnalyzerThread.h"
#include "relay/engine/CBaseServer.h"
#include "relay/engine/EngineMessages.h"
#include "relay/hunter/CHunterDownloadThread.h"
#include "relay/hunter/CLinkExtractor.h"
#include "relay/hunter/CUrlNode.h"

namespace {

constexpr long kStopped = platform::E_FAIL;
// How long Shutdown waits for the download thread (a transfer under way
// ends at its next progress poll, within about a second).
constexpr platform::DWORD kDownloadThreadWaitMs = 20000;

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }
bool BeginsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// "name:" before any "/", "?" or "#": an address of its own scheme.
bool HasScheme(const std::string& href) {
    const std::size_t colon = href.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    return std::all_of(href.begin(), href.begin() + static_cast<std::ptrdiff_t>(colon), [](unsigned char c) {
        return std::isalnum(c) || c == '+' || c == '-' || c == '.';
    });
}

}  // namespace

bool ReadPageFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    const auto first = std::find_if_not(text.begin(), text.end(), isSpace);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isSpace).base();
    text = first < last ? std::string(first, last) : std::string();
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return true;
}

std::string ResolveLink(const std::string& href, const std::string& baseUrl) {
    // Web pages may only lead to http, https and ftp; mail links are no pages.
    if (Contains(href, "mailto:")) return {};
    if (BeginsWith(href, "http://") || BeginsWith(href, "https://") || BeginsWith(href, "ftp://")) return href;
    if (Contains(href, "http://") || Contains(href, "https://") || Contains(href, "ftp://")) return {};
    if (HasScheme(href)) return {};
    if (BeginsWith(href, "#") || Contains(href, ".cgi") || Contains(href, ".asp") || Contains(href, "javascript") ||
        Contains(href, "vbscript") || Contains(href, "_blank")) {
        return {};
    }
    if (baseUrl == CUrlNode::kErrorInUrl) return {};
    std::string rest = href;
    if (BeginsWith(rest, ".")) rest.erase(0, 1);
    if (BeginsWith(rest, "/")) rest.erase(0, 1);
    return baseUrl + "/" + rest;
}

CHunterThread::CHunterThread() = default;

CHunterThread::~CHunterThread() {
    Stop();
    Shutdown();
}

bool CHunterThread::Stop() {
    m_Config.m_ProxyConfig.setShouldStop(true);
    return CThread::Stop();
}

void CHunterThread::SetSettings(CHunterSettings* settings) {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    m_Config.m_pSettings = settings;
}

void CHunterThread::SetPageLimits(PageLimits limits) {
    std::lock_guard lock(m_LimitsCS);
    m_Limits = limits;
}

PageLimits CHunterThread::GetPageLimits() {
    std::lock_guard lock(m_LimitsCS);
    return m_Limits;
}

bool CHunterThread::Startup() {
    std::lock_guard lock(m_DownloadThreadCS);
    if (m_pDownloadThread) return true;
    auto thread = std::make_unique<CHunterDownloadThread>(*this);
    if (!thread->CreateThread()) {
        const std::error_code error(errno, std::generic_category());
        platform::MessageBox(nullptr, error.message(), "", 0);
        return false;
    }
    m_pDownloadThread = std::move(thread);
    return true;
}

void CHunterThread::Shutdown() {
    std::unique_ptr<CHunterDownloadThread> thread;
    {
        std::lock_guard lock(m_DownloadThreadCS);
        thread = std::move(m_pDownloadThread);
    }
    if (!thread) return;
    thread->Abort();
    thread->PostThreadMessage(platform::WM_QUIT, 0, 0);
    if (!thread->thread().Wait(kDownloadThreadWaitMs)) {
        // Still inside a transfer that ignores its abort: keep the object
        // alive rather than free it under the running thread.
        thread.release();
    }
}

CHunterThread::PendingDownload CHunterThread::TakePendingDownload() {
    std::lock_guard lock(m_PendingCS);
    return std::exchange(m_Pending, PendingDownload{});
}

CHunterSettings CHunterThread::TakeSettings() {
    std::lock_guard lock(CBaseServer::mSettingsCS);
    if (!m_Config.m_pSettings) return CHunterSettings();
    if (m_Config.m_pSettings->GetIsDefault() == 1) m_Config.m_pSettings->SetDefaultHunterSettings();
    return *m_Config.m_pSettings;
}

platform::DWORD CHunterThread::Run() {
    m_Visited.clear();
    m_Config.Init();
    GetStopEvent().Reset();
    SetShouldStop(false);
    m_nDownloads.store(0);

    const CHunterSettings settings = TakeSettings();
    m_bSourceIsLocal = false;
    std::string source;
    {
        std::lock_guard lock(m_SourceCS);
        switch (settings.GetSourceType()) {
        case eKavelinServer: m_SourceURL = settings.GetKavelinURL(); break;
        case eUserURL: m_SourceURL = settings.GetURL(); break;
        case eLocalFile:
            m_SourceURL = settings.GetLocalURL();
            m_bSourceIsLocal = true;
            break;
        }
        source = m_SourceURL;
    }
    m_nMaxDepth = (settings.GetIsDepthEnabled() == 1 || settings.GetIsDefault() == 1)
                      ? static_cast<int>(settings.GetDepth())
                      : 0;
    m_WorkingFolder = platform::ProgramFolder().string();
    std::error_code error;
    std::filesystem::create_directories(m_WorkingFolder, error);

    try {
        if (!m_Config.m_ProxyConfig.getShouldStop()) Crawl(source, 0);
    } catch (long) {
        // A stop ended the crawl; the hunt ends as after a full one.
    }
    m_Downloads.Init();

    m_Config.m_ProxyConfig.SendEndProcessMsg();
    m_Config.m_ProxyConfig.DetachWindow();

    if (m_bAnalyzeAfterHunt.exchange(false) && !CBaseServer::mAnalyzerThread.IsRunning()) {
        CBaseServer::mAnalyzerThread.Reset();
        CBaseServer::mAnalyzerThread.Start();
    }

    GetStopEvent().Set();
    m_Config.m_ProxyConfig.setShouldStop(true);
    SetShouldStop(true);
    return 0;
}

long CHunterThread::DownloadLink(const std::string& address) {
    {
        std::lock_guard lock(m_RequestedCS);
        m_RequestedAddresses += "\r\n" + address;
    }
    CUrlNode node;
    node.SetParams(platform::ProgramFolder().string(), address);
    if (UrlDownload(node, false) == 0) return 0;
    AddToLog("Downloading Failed: " + address);
    return kStopped;
}

long CHunterThread::HandleAbsoluteLink(const std::string&) { return 0; }

std::vector<std::string> CHunterThread::GetFolderFileNames(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> names;
    for (const platform::FindData& found : platform::FindFiles(folder, pattern)) {
        if (!found.IsDirectory()) names.push_back((std::filesystem::path(folder) / found.name).string());
    }
    return names;
}

void CHunterThread::Cleanup() {
    GetStopEvent().Set();
    m_Config.m_ProxyConfig.setShouldStop(true);
    SetShouldStop(true);
}

void CHunterThread::StopHunting() { m_Config.m_ProxyConfig.setShouldStop(true); }

void CHunterThread::SetSourceURL(const std::string& address) {
    std::lock_guard lock(m_SourceCS);
    m_SourceURL = address;
}

std::string CHunterThread::GetRequestedAddresses() const {
    std::lock_guard lock(m_RequestedCS);
    return m_RequestedAddresses;
}

void CHunterThread::CheckStopFlag() {
    if (m_Config.m_ProxyConfig.getShouldStop()) throw kStopped;
}

void CHunterThread::AddToLog(const std::string& text) { m_Config.m_ProxyConfig.AddToLog(text.c_str()); }

void CHunterThread::Crawl(const std::string& address, int level) {
    CheckStopFlag();
    if (level > m_nMaxDepth) return;
    CUrlNode node;
    node.SetParams(m_WorkingFolder, address);
    node.setLevel(level);
    if (m_Visited.count(node.getFileName())) return;
    m_Visited[node.getFileName()] = CDownloaded{node.getFileName(), node.getFileName()};

    // Only the local-file source may name a file; links never do.
    UrlDownload(node, m_bSourceIsLocal && level == 0);
    CheckStopFlag();
    std::string text;
    if (ReadPageFile(node.getFileName(), text)) m_Parser.LeechProxies(text.data(), &m_Config);
    node.SetParsed(1);
    CheckStopFlag();
    AddToLog(address);

    if (level == m_nMaxDepth) return;
    for (const std::string& link : ExtractURLS(node)) Crawl(link, level + 1);
}

long CHunterThread::UrlDownload(CUrlNode& node, bool allowFile) {
    m_bProgress.store(false);
    if (m_Config.m_ProxyConfig.getShouldStop()) return kStopped;

    m_Downloads.Init();
    unsigned tag = 0;
    {
        std::lock_guard lock(m_PendingCS);
        tag = ++m_nLastTag;
        m_Pending = PendingDownload{node.getUrl(), tag, allowFile};
    }
    m_nAwaitedTag.store(tag);
    const struct NoLongerAwaited {
        std::atomic<unsigned>& tag;
        ~NoLongerAwaited() { tag.store(0); }
    } awaited{m_nAwaitedTag};
    bool posted = false;
    {
        std::lock_guard lock(m_DownloadThreadCS);
        posted = m_pDownloadThread && m_pDownloadThread->PostThreadMessage(WM_RELAY_HUNTER_DOWNLOAD, 0, 0);
    }
    if (!posted) return kStopped;

    const platform::DWORD period = static_cast<platform::DWORD>(GetPageLimits().stallMs);
    CDownloaded download;
    for (;;) {
        const platform::DWORD result = platform::WaitForMultipleObjects(
            {GetStopEvent(), m_Config.m_ProxyConfig.GetStopEvent(), m_Downloads.GetEvent()}, false, period);
        if (result == platform::WAIT_TIMEOUT) {
            // Data that keeps coming keeps the download alive.
            if (m_bProgress.exchange(false)) continue;
            return kStopped;
        }
        if (result != platform::WAIT_OBJECT_0 + 2) return kStopped;
        if (m_Downloads.getDownloadedInfo(download, tag)) break;
    }
    if (!download.m_Success) return kStopped;

    std::ofstream out(node.getFileName(), std::ios::binary | std::ios::trunc);
    out.write(download.m_Text.data(), static_cast<std::streamsize>(download.m_Text.size()));
    out.close();
    if (!out) return kStopped;
    node.SetParams(m_WorkingFolder, node.getUrl());
    ++m_nDownloads;
    if (!m_Config.m_ProxyConfig.getShouldStop()) AddToLog(node.getUrl() + " Downloaded");
    return 0;
}

std::vector<std::string> CHunterThread::ExtractURLS(const CUrlNode& node) {
    std::vector<std::string> links;
    CheckStopFlag();
    std::string text;
    if (!ReadPageFile(node.getFileName(), text)) AddToLog("Could not download the main page.");
    for (const std::string& href : CLinkExtractor::AnchorHrefs(text)) {
        CheckStopFlag();
        std::string link = ResolveLink(href, node.getBaseURL());
        if (!link.empty()) links.push_back(std::move(link));
    }
    return links;
}
