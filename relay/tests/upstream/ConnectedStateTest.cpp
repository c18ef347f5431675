#include <gtest/gtest.h>

#include "platform/InternetConnection.h"
#include "relay/upstream/CCommonBase.h"
#include "support/TempRoot.h"

namespace {

class ConnectedStateTest : public kvtest::RootedTest {
protected:
    ~ConnectedStateTest() override { platform::internet_test::SetConnectedState(std::nullopt); }
};

TEST_F(ConnectedStateTest, InternetIsAvailableWhenConnectedAndNotOffline) {
    const struct {
        platform::DWORD flags;
        bool available;
    } rows[] = {
        {platform::INTERNET_CONNECTION_LAN, true},
        {platform::INTERNET_CONNECTION_MODEM | platform::INTERNET_CONNECTION_CONFIGURED, true},
        {platform::INTERNET_CONNECTION_LAN | platform::INTERNET_CONNECTION_OFFLINE, false},
        {platform::INTERNET_CONNECTION_OFFLINE, false},
        {0, false},
    };
    for (const auto& row : rows) {
        platform::internet_test::SetConnectedState(row.flags);
        EXPECT_EQ(CCommonBase::IsInternetAvilable(), row.available) << row.flags;
    }
}

}  // namespace
