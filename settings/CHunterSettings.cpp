#include "settings/CHunterSettings.h"

#include "settings/CRegHelper.h"
#include "settings/RegValues.h"
#include "settings/TextLimits.h"

namespace {

constexpr const char* kSubKey = "Hunter";
constexpr const char* kAutoAnalyzeMins = "_AUTO_ANALYZE_MINS";
constexpr const char* kDepth = "_DEPTH";
constexpr const char* kSourceType = "_URL_SOURCE_TYPE";
constexpr const char* kKavelinURL = "_KAVELIN_URL";
constexpr const char* kURL = "_URL_SOURCE";
constexpr const char* kLocalURL = "_LOCAL_URL";

// Flags that fall back to 0 when out of range ...
constexpr regvalues::DwordValue<CHunterSettings> kFlagsDefaultOff[] = {
    {"_BOOL_DEPTH", &CHunterSettings::mIsDepthEnabled},
    {"_BOOL_AUTO_ANALYZE", &CHunterSettings::mIsAutoAnalyzerEnabled},
};
// ... and those that fall back to 1. Written after the texts, in this order.
constexpr regvalues::DwordValue<CHunterSettings> kFlagsDefaultOn[] = {
    {"_BOOL_EXCLUDE_FORIGNER_SERVERS", &CHunterSettings::mIsExcludeForignerServersEnabled},
    {"_BOOL_DELETE_FAILED_PROXIES", &CHunterSettings::mIsAutoDeleteFailedProxiesEnabled},
    {"_DEFAULT", &CHunterSettings::mIsDefault},
};

constexpr regvalues::DwordValue<CHunterSettings> kNumbers[] = {
    {kAutoAnalyzeMins, &CHunterSettings::mAutoAnalyzeMins},
    {kDepth, &CHunterSettings::mDepth},
};

bool IsFlag(platform::DWORD value) { return value == 0 || value == 1; }

}  // namespace

void CHunterSettings::SetIsDefault(int value) {
    mIsDefault = static_cast<platform::DWORD>(value);
    if (mIsDepthEnabled == 0) mIsDepthEnabled = 1;
}

void CHunterSettings::SetDefaultHunterSettings() {
    mSourceType = eKavelinServer;
    mURL = kPublicProxyListPage;
    mAutoAnalyzeMins = 0;
    mDepth = 1;
    mIsAutoAnalyzerEnabled = 0;
    mIsDepthEnabled = 1;
    mIsExcludeForignerServersEnabled = 0;
    mIsAutoDeleteFailedProxiesEnabled = 0;
}

int CHunterSettings::SetRegistry(const platform::RegKey& root) {
    platform::RegKey key;
    if (key.Create(root, kSubKey) != platform::ERROR_SUCCESS) throw false;
    regvalues::WriteDWORDs(key, *this, kNumbers);

    if (mSourceType != eKavelinServer && mSourceType != eUserURL && mSourceType != eLocalFile) {
        mSourceType = eKavelinServer;
    }
    key.SetDWORDValue(kSourceType, mSourceType);

    if (mKavelinURL.empty()) mKavelinURL = kPublicProxyListPage;
    key.SetStringValue(kKavelinURL, mKavelinURL);
    key.SetStringValue(kURL, mURL);
    key.SetStringValue(kLocalURL, mLocalURL);

    for (const auto& row : kFlagsDefaultOff) {
        if (!IsFlag(this->*(row.field))) this->*(row.field) = 0;
    }
    regvalues::WriteDWORDs(key, *this, kFlagsDefaultOff);
    for (const auto& row : kFlagsDefaultOn) {
        if (!IsFlag(this->*(row.field))) this->*(row.field) = 1;
    }
    regvalues::WriteDWORDs(key, *this, kFlagsDefaultOn);
    return 1;
}

int CHunterSettings::QueryRegistry(const platform::RegKey& root) {
    platform::RegKey key;
    if (key.Open(root, kSubKey) != platform::ERROR_SUCCESS) throw false;
    regvalues::RequireDWORDs(key, *this, kNumbers);
    platform::DWORD source = mSourceType;
    regvalues::RequireDWORD(key, kSourceType, source);
    mSourceType = static_cast<eUrlSource>(source);
    regvalues::RequireDWORDs(key, *this, kFlagsDefaultOff);
    regvalues::RequireDWORDs(key, *this, kFlagsDefaultOn);
    CRegHelper::utl_QueryStringValue(key, kKavelinURL, mKavelinURL, textlimits::kHunterUrl);
    CRegHelper::utl_QueryStringValue(key, kURL, mURL, textlimits::kHunterUrl);
    CRegHelper::utl_QueryStringValue(key, kLocalURL, mLocalURL, textlimits::kHunterUrl);
    return 1;
}
