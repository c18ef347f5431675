#include <gtest/gtest.h>
#include <gio/gio.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "FakeEngineHost.h"
#include "GuiTest.h"
#include "panel/app/CKVDeskModule.h"
#include "panel/automation/CAutomationRegistrar.h"
#include "panel/automation/CProxyControlServer.h"
#include "panel/automation/KavelinA.h"
#include "panel/main/CBaseDlg.h"
#include "panel/main/CPageMakers.h"
#include "panel/tray/CSystemTray.h"
#include "platform/Registry.h"
#include "platform/Root.h"
#include "relay/engine/CBaseServer.h"
#include "support/TempRoot.h"

namespace {

using namespace std::chrono_literals;
using autotest::RecordingHost;

// A client of its own on the test's private session bus, talking to the
// object through a GDBus proxy. Calls are asynchronous and the event loop
// runs until the answer comes, since the object is served by this very
// loop.
class BusClient {
public:
    BusClient() {
        gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
        m_pConnection = g_dbus_connection_new_for_address_sync(
            address,
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        g_free(address);
        if (m_pConnection == nullptr) return;
        m_pProxy = g_dbus_proxy_new_sync(m_pConnection, G_DBUS_PROXY_FLAGS_DO_NOT_LOAD_PROPERTIES, nullptr,
                                         CProxyControlServer::kBusName, CProxyControlServer::kObjectPath,
                                         CProxyControlServer::kInterfaceName, nullptr, nullptr);
        if (m_pProxy != nullptr) g_signal_connect(m_pProxy, "g-signal", G_CALLBACK(&BusClient::OnSignal), this);
    }

    ~BusClient() {
        if (m_pProxy != nullptr) g_object_unref(m_pProxy);
        if (m_pConnection != nullptr) {
            g_dbus_connection_close_sync(m_pConnection, nullptr, nullptr);
            g_object_unref(m_pConnection);
        }
    }

    bool Ready() const { return m_pProxy != nullptr; }

    // The reply printed as text ("()", "(int16 1,)"), or "error: ..." .
    std::string Call(const char* method, GVariant* parameters = nullptr) {
        struct Pending {
            bool done = false;
            std::string text;
        } pending;
        g_dbus_proxy_call(
            m_pProxy, method, parameters, G_DBUS_CALL_FLAGS_NONE, 5000, nullptr,
            [](GObject* source, GAsyncResult* result, gpointer data) {
                auto& p = *static_cast<Pending*>(data);
                GError* error = nullptr;
                GVariant* reply = g_dbus_proxy_call_finish(G_DBUS_PROXY(source), result, &error);
                if (reply != nullptr) {
                    gchar* text = g_variant_print(reply, TRUE);
                    p.text = text;
                    g_free(text);
                    g_variant_unref(reply);
                } else {
                    p.text = std::string("error: ") + (error ? g_dbus_error_get_remote_error(error) : "?");
                    g_clear_error(&error);
                }
                p.done = true;
            },
            &pending);
        kvtest::PumpUiUntil([&] { return pending.done; }, 5s);
        return pending.done ? pending.text : "no answer";
    }

    bool NameHasOwner(const char* name) {
        GVariant* reply = g_dbus_connection_call_sync(m_pConnection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                      "org.freedesktop.DBus", "NameHasOwner",
                                                      g_variant_new("(s)", name), G_VARIANT_TYPE("(b)"),
                                                      G_DBUS_CALL_FLAGS_NONE, 5000, nullptr, nullptr);
        gboolean owned = FALSE;
        if (reply != nullptr) {
            g_variant_get(reply, "(b)", &owned);
            g_variant_unref(reply);
        }
        return owned;
    }

    // Signals seen so far, as "DataArrive (42,)".
    std::vector<std::string> signals;

    bool WaitForSignals(std::size_t count) {
        return kvtest::PumpUiUntil([&] { return signals.size() >= count; }, 5s);
    }

private:
    static void OnSignal(GDBusProxy*, gchar*, gchar* name, GVariant* parameters, gpointer self) {
        gchar* text = g_variant_print(parameters, FALSE);
        static_cast<BusClient*>(self)->signals.push_back(std::string(name) + " " + text);
        g_free(text);
    }

    GDBusConnection* m_pConnection = nullptr;
    GDBusProxy* m_pProxy = nullptr;
};

class ProxyControlBusTest : public autotest::SuiteHostTest {
protected:
    void SetUp() override {
        autotest::ResetEngineSettings();
        host_->engine.live = true;
        host_->engine.running = false;
        host_->engine.calls.clear();
        host_->applied = 0;
        ASSERT_TRUE(CProxyControlServer::RegisterClassObjects(*host_));
        client_ = std::make_unique<BusClient>();
        ASSERT_TRUE(client_->Ready());
    }

    void TearDown() override {
        client_.reset();
        CProxyControlServer::RevokeClassObjects();
    }

    std::unique_ptr<BusClient> client_;
};

TEST_F(ProxyControlBusTest, ServesTheObjectUnderItsNameUntilRevoked) {
    EXPECT_TRUE(client_->NameHasOwner("KVDesk.ProxyControl"));
    EXPECT_EQ("(int16 1,)", client_->Call("GetProxyStatus"));

    CProxyControlServer::RevokeClassObjects();
    EXPECT_FALSE(client_->NameHasOwner("KVDesk.ProxyControl"));
    EXPECT_EQ(nullptr, CProxyControlServer::Current());
}

TEST_F(ProxyControlBusTest, RelayCommandsAndStatusReachTheHost) {
    EXPECT_EQ("()", client_->Call("StartProxy"));
    EXPECT_EQ("()", client_->Call("StopProxy"));
    EXPECT_EQ((std::vector<std::string>{"StartServer", "StopServer"}), host_->engine.calls);

    host_->engine.running = true;
    EXPECT_EQ("(int16 0,)", client_->Call("GetProxyStatus"));

    host_->engine.live = false;
    host_->engine.calls.clear();
    EXPECT_EQ("(int16 1,)", client_->Call("GetProxyStatus"));
    EXPECT_EQ("()", client_->Call("StartProxy"));
    EXPECT_TRUE(host_->engine.calls.empty());
}

TEST_F(ProxyControlBusTest, SwitchesChangeTheSettingsTheStatusesReport) {
    struct Case {
        const char* method;
        const char* status;
        const char* expected;
    };
    const Case cases[] = {
        {"StartOutFilter", "GetOutFilterStatus", "(int16 5,)"}, {"StopOutFilter", "GetOutFilterStatus", "(int16 6,)"},
        {"StartInFilter", "GetInFilterStatus", "(int16 7,)"},   {"StopInFilter", "GetInFilterStatus", "(int16 8,)"},
        {"StartPrivacy", "GetPrivacyStatus", "(int16 9,)"},     {"StopPrivacy", "GetPrivacyStatus", "(int16 10,)"},
    };
    int applied = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        EXPECT_EQ("()", client_->Call(c.method));
        EXPECT_EQ(c.expected, client_->Call(c.status));
        EXPECT_EQ(++applied, host_->applied);
    }
    EXPECT_FALSE(host_->GetSettings().getPrivacySettings()->mEnableIPShielding);
    EXPECT_TRUE(client_->signals.empty());
}

TEST_F(ProxyControlBusTest, FiringMethodsComeBackAsSignals) {
    EXPECT_EQ("()", client_->Call("FireDataArrive", g_variant_new("(i)", 42)));
    EXPECT_EQ("()", client_->Call("FireDataSent", g_variant_new("(i)", -3)));
    EXPECT_EQ("()", client_->Call("FireProxyStatusChange", g_variant_new("(n)", std::int16_t{1})));
    ASSERT_TRUE(client_->WaitForSignals(3));
    EXPECT_EQ((std::vector<std::string>{"DataArrive (42,)", "DataSent (-3,)", "ProxyStatusChange (1,)"}),
              client_->signals);
    EXPECT_EQ(IDR_TRAY_STOPPED, host_->GetTray().GetModel().IconId());

    EXPECT_EQ("()", client_->Call("FireProxyStatusChange", g_variant_new("(n)", std::int16_t{0})));
    ASSERT_TRUE(client_->WaitForSignals(4));
    EXPECT_EQ(IDR_TRAY_RUNNING, host_->GetTray().GetModel().IconId());
}

TEST_F(ProxyControlBusTest, CallsWithWrongArgumentsAreRefused) {
    EXPECT_EQ("error: org.freedesktop.DBus.Error.InvalidArgs",
              client_->Call("FireDataArrive", g_variant_new("(s)", "many")));
    EXPECT_EQ("error: org.freedesktop.DBus.Error.UnknownMethod", client_->Call("Format"));
    EXPECT_TRUE(client_->signals.empty());
}

// The program module's object map is filled when the program loads.
TEST_F(ProxyControlBusTest, ProgramModuleServesTheCurrentHostAndRegistersTheRunningProgram) {
    CProxyControlServer::RevokeClassObjects();
    ASSERT_FALSE(client_->NameHasOwner("KVDesk.ProxyControl"));
    ASSERT_EQ(host_, CServerHost::Current());

    EXPECT_TRUE(CKVDeskModule::RegisterClassObjects(CKVDeskModule::eNameClaim::Take));
    client_ = std::make_unique<BusClient>();  // a proxy that sees the new owner
    EXPECT_TRUE(client_->NameHasOwner("KVDesk.ProxyControl"));
    EXPECT_EQ("()", client_->Call("StartProxy"));
    EXPECT_EQ(std::vector<std::string>{"StartServer"}, host_->engine.calls);
    CKVDeskModule::RevokeClassObjects();
    EXPECT_FALSE(client_->NameHasOwner("KVDesk.ProxyControl"));

    EXPECT_TRUE(CKVDeskModule::RegisterServer());
    platform::RegKey server;
    ASSERT_EQ(platform::ERROR_SUCCESS,
              server.Open(platform::HKEY_CLASSES_ROOT, "CLSID\\{BCF66DAD-997D-47DE-8060-9978356D4975}\\LocalServer32",
                          platform::KEY_READ));
    std::string module;
    server.QueryStringValue("", module);
    EXPECT_EQ((platform::ProgramImageFolder() / "KVDesk").string(), module);
    EXPECT_TRUE(std::filesystem::exists(CAutomationRegistrar::ServiceFile()));
    EXPECT_TRUE(CKVDeskModule::UnregisterServer());
    EXPECT_NE(platform::ERROR_SUCCESS,
              server.Open(platform::HKEY_CLASSES_ROOT, "CLSID\\{BCF66DAD-997D-47DE-8060-9978356D4975}",
                          platform::KEY_READ));
    EXPECT_FALSE(std::filesystem::exists(CAutomationRegistrar::ServiceFile()));
}

class TestPage : public CBaseDlg {
public:
    using CBaseDlg::CBaseDlg;
};

TEST(KavelinAPageTest, GetterLeavesANewPageWithoutWindowInTheSlot) {
    RecordingHost host;
    CPageMakers::Maker previous = CPageMakers::Set(
        551, [](CServerHost& h) -> std::unique_ptr<CBaseDlg> { return std::make_unique<TestPage>(&h); });

    KavelinA factory(host);
    EXPECT_EQ(platform::S_OK, factory.getGeneralDlg());
    std::unique_ptr<CBaseDlg> first = host.TakeMadePage();
    factory.getGeneralDlg();
    std::unique_ptr<CBaseDlg> second = host.TakeMadePage();

    ASSERT_NE(nullptr, dynamic_cast<TestPage*>(first.get()));
    EXPECT_NE(first.get(), second.get());
    EXPECT_EQ(&host, first->GetHost());
    EXPECT_EQ(nullptr, first->GetParent());
    EXPECT_EQ(nullptr, host.TakeMadePage());
    CPageMakers::Set(551, previous);
}

}  // namespace
