// SetRegistry then QueryRegistry on a fresh object gives back every field.

#include <gtest/gtest.h>

#include "SettingsFixture.h"

namespace settingstest {
namespace {

class RegistryRoundTrip : public SettingsTest {};

TEST_F(RegistryRoundTrip, EveryFieldComesBack) {
    CSettings written;
    FillDistinct(written);
    ASSERT_TRUE(written.SetRegistry());

    CSettings read;
    ASSERT_TRUE(read.QueryRegistry());
    ExpectSameFields(read, written);
}

TEST_F(RegistryRoundTrip, MaximumTextLengthsComeBack) {
    CSettings written;
    written.getPrivacySettings()->mUserIP = std::string(19, '1');
    written.getPrivacySettings()->mListenerIP = "255.255.255.255";
    written.getGeneralSettings()->mStartingIP = std::string(19, '2');
    written.getGeneralSettings()->mFireWallIP = std::string(19, '3');
    written.getSysConfig()->mAutoKazaaServerAddress = std::string(19, 'a');
    written.getSysConfig()->mAutoKazaaServerUserName = std::string(19, 'u');
    written.getSysConfig()->mAutoKazaaServerPassword = std::string(49, 'p');
    written.getHunterSettings()->mURL = "http://" + std::string(248, 'h');
    written.getFiltrationSettings()->mInFiltration.mBlockTitle = std::string(258, 't');
    written.getFiltrationSettings()->mOutFiltration.mServerStopList = {std::string(499, 's')};
    ASSERT_TRUE(written.SetRegistry());

    CSettings read;
    ASSERT_TRUE(read.QueryRegistry());
    ExpectSameFields(read, written);
}

TEST_F(RegistryRoundTrip, SecondRunningAppKeepsItsOwnRoot) {
    CSettings first;
    first.getPrivacySettings()->mListenerPort = 9001;
    ASSERT_TRUE(first.SetRegistry());

    CSettings::mRunningApp = "Second Variant";
    CSettings second;
    second.getPrivacySettings()->mListenerPort = 9002;
    ASSERT_TRUE(second.SetRegistry());

    CSettings::mRunningApp = kDefaultRunningApp;
    CSettings read;
    ASSERT_TRUE(read.QueryRegistry());
    EXPECT_EQ(read.getPrivacySettings()->mListenerPort, 9001u);
}

}  // namespace
}  // namespace settingstest
