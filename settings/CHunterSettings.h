#pragma once
// The proxy hunter's settings: where it starts, how deep it crawls, when the
// pool is analysed, and how the pool is kept.

#include <string>

#include "platform/Registry.h"
#include "platform/Types.h"

// Where the hunter starts.
enum eUrlSource : platform::DWORD {
    eKavelinServer = 0,  // the built-in list page (GetKavelinURL)
    eUserURL = 1,        // the user's start URL (GetURL)
    eLocalFile = 2,      // a local page or file (GetLocalURL); needs no connection
};

// The public proxy-list page: the default start URL and own-page URL.
inline constexpr const char* kPublicProxyListPage = "https://free-proxy-list.net/";

class CHunterSettings {
public:
    CHunterSettings() = default;
    CHunterSettings(const CHunterSettings&) = default;
    CHunterSettings& operator=(const CHunterSettings&) = default;
    virtual ~CHunterSettings() = default;

    eUrlSource GetSourceType() const { return mSourceType; }
    void SetSourceType(eUrlSource type) { mSourceType = type; }

    std::string& GetURL() { return mURL; }
    std::string& GetLocalURL() { return mLocalURL; }
    std::string& GetKavelinURL() { return mKavelinURL; }
    const std::string& GetURL() const { return mURL; }
    const std::string& GetLocalURL() const { return mLocalURL; }
    const std::string& GetKavelinURL() const { return mKavelinURL; }
    void SetURL(const std::string& url) { mURL = url; }
    void SetURL(const char* url) { mURL = url ? url : ""; }
    void SetLocalURL(const std::string& url) { mLocalURL = url; }
    void SetLocalURL(const char* url) { mLocalURL = url ? url : ""; }
    void SetKavelinURL(const std::string& url) { mKavelinURL = url; }
    void SetKavelinURL(const char* url) { mKavelinURL = url ? url : ""; }

    platform::DWORD GetAutoAnalyzeMins() const { return mAutoAnalyzeMins; }
    platform::DWORD GetDepth() const { return mDepth; }
    platform::DWORD GetIsAutoAnalyzerEnabled() const { return mIsAutoAnalyzerEnabled; }
    platform::DWORD GetIsDepthEnabled() const { return mIsDepthEnabled; }
    platform::DWORD GetIsExcludeForignerServersEnabled() const { return mIsExcludeForignerServersEnabled; }
    platform::DWORD GetIsAutoDeleteFailedProxiesEnabled() const { return mIsAutoDeleteFailedProxiesEnabled; }
    platform::DWORD GetIsDefault() const { return mIsDefault; }

    void SetAutoAnalyzeMins(platform::DWORD value) { mAutoAnalyzeMins = value; }
    void SetDepth(platform::DWORD value) { mDepth = value; }
    void SetIsAutoAanlyzerEnabled(platform::DWORD value) { mIsAutoAnalyzerEnabled = value; }
    void SetIsDepthEnabled(platform::DWORD value) { mIsDepthEnabled = value; }
    void SetIsExcludeForignerServersEnabled(platform::DWORD value) { mIsExcludeForignerServersEnabled = value; }
    void SetIsAutoDeleteFailedProxiesEnabled(platform::DWORD value) { mIsAutoDeleteFailedProxiesEnabled = value; }
    // Stores the value; a cleared limit-depth flag becomes 1.
    void SetIsDefault(int value);

    void SetDefaultHunterSettings();

    // Both return 1 and throw bool when the Hunter key cannot be made or
    // opened (or, reading, when one of its numbers is missing). Writing
    // forces the source type and the flags into range in this object.
    int SetRegistry(const platform::RegKey& root);
    int QueryRegistry(const platform::RegKey& root);

    eUrlSource mSourceType = eKavelinServer;                 // _URL_SOURCE_TYPE
    std::string mURL = kPublicProxyListPage;                 // _URL_SOURCE
    std::string mLocalURL;                                   // _LOCAL_URL
    std::string mKavelinURL = kPublicProxyListPage;          // _KAVELIN_URL
    platform::DWORD mAutoAnalyzeMins = 9999;                 // _AUTO_ANALYZE_MINS
    platform::DWORD mDepth = 0;                              // _DEPTH
    platform::DWORD mIsAutoAnalyzerEnabled = 0;              // _BOOL_AUTO_ANALYZE
    platform::DWORD mIsDepthEnabled = 0;                     // _BOOL_DEPTH
    platform::DWORD mIsExcludeForignerServersEnabled = 1;    // _BOOL_EXCLUDE_FORIGNER_SERVERS
    platform::DWORD mIsAutoDeleteFailedProxiesEnabled = 0;   // _BOOL_DELETE_FAILED_PROXIES
    platform::DWORD mIsDefault = 1;                          // _DEFAULT
};

static_assert(sizeof(eUrlSource) == sizeof(platform::DWORD));
