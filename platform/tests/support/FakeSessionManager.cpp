#include "FakeSessionManager.h"

#include <gio/gio.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

namespace kvtest {

namespace {

constexpr const char* kName = "org.gnome.SessionManager";
constexpr const char* kPath = "/org/gnome/SessionManager";
constexpr const char* kClientInterface = "org.gnome.SessionManager.ClientPrivate";

constexpr const char* kXml =
    "<node>"
    " <interface name='org.gnome.SessionManager'>"
    "  <method name='RegisterClient'>"
    "   <arg type='s' name='app_id' direction='in'/>"
    "   <arg type='s' name='client_startup_id' direction='in'/>"
    "   <arg type='o' name='client_id' direction='out'/>"
    "  </method>"
    "  <method name='UnregisterClient'><arg type='o' name='client_id' direction='in'/></method>"
    " </interface>"
    " <interface name='org.gnome.SessionManager.ClientPrivate'>"
    "  <method name='EndSessionResponse'>"
    "   <arg type='b' name='is_ok' direction='in'/>"
    "   <arg type='s' name='reason' direction='in'/>"
    "  </method>"
    "  <signal name='Stop'/>"
    "  <signal name='QueryEndSession'><arg type='u' name='flags'/></signal>"
    "  <signal name='EndSession'><arg type='u' name='flags'/></signal>"
    "  <signal name='CancelEndSession'/>"
    " </interface>"
    "</node>";

}  // namespace

struct FakeSessionManager::Impl {
    struct Client {
        std::string appId;
        std::string path;
        guint registration = 0;
    };

    GMainContext* context = g_main_context_new();
    GMainLoop* loop = g_main_loop_new(context, FALSE);
    GDBusConnection* connection = nullptr;
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(kXml, nullptr);
    guint managerRegistration = 0;
    std::thread thread;

    mutable std::mutex lock;
    std::vector<Client> clients;
    int unregistered = 0;
    int nextClient = 1;
    std::vector<bool> answers;

    ~Impl() {
        if (thread.joinable()) {
            g_main_loop_quit(loop);
            thread.join();
        }
        if (connection != nullptr) {
            for (const Client& client : clients) g_dbus_connection_unregister_object(connection, client.registration);
            if (managerRegistration != 0) g_dbus_connection_unregister_object(connection, managerRegistration);
            g_dbus_connection_close_sync(connection, nullptr, nullptr);
            g_object_unref(connection);
        }
        g_dbus_node_info_unref(node);
        g_main_loop_unref(loop);
        g_main_context_unref(context);
    }

    static void OnCall(GDBusConnection*, const gchar*, const gchar* path, const gchar*, const gchar* method,
                       GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
        static_cast<Impl*>(self)->Handle(path, method, parameters, invocation);
    }

    void Handle(const char* path, const char* method, GVariant* parameters, GDBusMethodInvocation* invocation) {
        static const GDBusInterfaceVTable vtable{&Impl::OnCall, nullptr, nullptr, {}};
        std::lock_guard guard(lock);
        if (std::strcmp(method, "RegisterClient") == 0) {
            const gchar* appId = nullptr;
            const gchar* startupId = nullptr;
            g_variant_get(parameters, "(&s&s)", &appId, &startupId);
            Client client{appId, std::string(kPath) + "/Client" + std::to_string(nextClient++), 0};
            client.registration = g_dbus_connection_register_object(
                connection, client.path.c_str(), g_dbus_node_info_lookup_interface(node, kClientInterface), &vtable,
                this, nullptr, nullptr);
            g_dbus_method_invocation_return_value(invocation, g_variant_new("(o)", client.path.c_str()));
            clients.push_back(std::move(client));
        } else if (std::strcmp(method, "UnregisterClient") == 0) {
            const gchar* clientPath = nullptr;
            g_variant_get(parameters, "(&o)", &clientPath);
            for (auto it = clients.begin(); it != clients.end(); ++it) {
                if (it->path != clientPath) continue;
                g_dbus_connection_unregister_object(connection, it->registration);
                clients.erase(it);
                ++unregistered;
                break;
            }
            g_dbus_method_invocation_return_value(invocation, nullptr);
        } else if (std::strcmp(method, "EndSessionResponse") == 0) {
            gboolean ok = FALSE;
            const gchar* reason = nullptr;
            g_variant_get(parameters, "(b&s)", &ok, &reason);
            answers.push_back(ok != FALSE);
            g_dbus_method_invocation_return_value(invocation, nullptr);
        } else {
            g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD, "%s", path);
        }
    }

    void Emit(const char* signal, GVariant* parameters) {
        std::lock_guard guard(lock);
        if (parameters != nullptr) g_variant_ref_sink(parameters);
        for (const Client& client : clients) {
            g_dbus_connection_emit_signal(connection, nullptr, client.path.c_str(), kClientInterface, signal,
                                          parameters, nullptr);
        }
        if (parameters != nullptr) g_variant_unref(parameters);
        g_dbus_connection_flush_sync(connection, nullptr, nullptr);
    }
};

FakeSessionManager::FakeSessionManager() : m_(std::make_unique<Impl>()) {}
FakeSessionManager::~FakeSessionManager() = default;

bool FakeSessionManager::Start() {
    Impl& impl = *m_;
    // Made while the manager's context is the thread's default, so that its
    // calls are dispatched by the manager's own thread.
    g_main_context_push_thread_default(impl.context);
    gchar* address = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (address != nullptr) {
        impl.connection = g_dbus_connection_new_for_address_sync(
            address,
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        g_free(address);
    }
    static const GDBusInterfaceVTable vtable{&Impl::OnCall, nullptr, nullptr, {}};
    if (impl.connection != nullptr) {
        impl.managerRegistration = g_dbus_connection_register_object(
            impl.connection, kPath, g_dbus_node_info_lookup_interface(impl.node, kName), &vtable, &impl, nullptr,
            nullptr);
    }
    g_main_context_pop_thread_default(impl.context);
    if (impl.managerRegistration == 0) return false;

    GVariant* reply = g_dbus_connection_call_sync(impl.connection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                  "org.freedesktop.DBus", "RequestName",
                                                  g_variant_new("(su)", kName, 4u /* do not queue */),
                                                  G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
    if (reply == nullptr) return false;
    guint32 answer = 0;
    g_variant_get(reply, "(u)", &answer);
    g_variant_unref(reply);
    if (answer != 1) return false;
    impl.thread = std::thread([&impl] {
        g_main_context_push_thread_default(impl.context);
        g_main_loop_run(impl.loop);
        g_main_context_pop_thread_default(impl.context);
    });
    return true;
}

std::vector<std::string> FakeSessionManager::Clients() const {
    std::lock_guard guard(m_->lock);
    std::vector<std::string> ids;
    for (const Impl::Client& client : m_->clients) ids.push_back(client.appId);
    return ids;
}

int FakeSessionManager::Unregistered() const {
    std::lock_guard guard(m_->lock);
    return m_->unregistered;
}

std::vector<bool> FakeSessionManager::Answers() const {
    std::lock_guard guard(m_->lock);
    return m_->answers;
}

void FakeSessionManager::QueryEndSession() { m_->Emit("QueryEndSession", g_variant_new("(u)", 0u)); }
void FakeSessionManager::EndSession() { m_->Emit("EndSession", g_variant_new("(u)", 0u)); }
void FakeSessionManager::Stop() { m_->Emit("Stop", nullptr); }

}  // namespace kvtest
