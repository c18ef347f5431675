#include "platform/SessionClient.h"

#include <gio/gio.h>

#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

constexpr const char* kManagerName = "org.gnome.SessionManager";
constexpr const char* kManagerPath = "/org/gnome/SessionManager";
constexpr const char* kManagerInterface = "org.gnome.SessionManager";
constexpr const char* kClientInterface = "org.gnome.SessionManager.ClientPrivate";
// The session manager waits for each client's answer only so long; ours
// must not hold the exit longer either.
constexpr int kCallTimeoutMs = 3000;

}  // namespace

struct SessionClient::Impl {
    Handlers handlers;
    GDBusConnection* connection = nullptr;
    GCancellable* cancellable = g_cancellable_new();
    std::string clientPath;  // empty until registered
    guint subscription = 0;
    bool endPending = false;

    ~Impl() {
        g_cancellable_cancel(cancellable);
        g_object_unref(cancellable);
        if (connection == nullptr) return;
        if (subscription != 0) g_dbus_connection_signal_unsubscribe(connection, subscription);
        if (!clientPath.empty()) {
            Call(kManagerPath, kManagerInterface, "UnregisterClient", g_variant_new("(o)", clientPath.c_str()));
        }
        g_object_unref(connection);
    }

    void Call(const std::string& path, const char* interface, const char* method, GVariant* parameters) const {
        GVariant* reply =
            g_dbus_connection_call_sync(connection, kManagerName, path.c_str(), interface, method, parameters,
                                        nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, nullptr, nullptr);
        if (reply != nullptr) g_variant_unref(reply);
    }

    void Answer(bool ok) const {
        Call(clientPath, kClientInterface, "EndSessionResponse", g_variant_new("(bs)", ok, ""));
    }

    // A cancelled call's reply comes after the client is gone: it is
    // recognised before the client is touched.
    static void OnRegistered(GObject* source, GAsyncResult* result, gpointer self) {
        GError* error = nullptr;
        GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &error);
        if (reply == nullptr) {
            g_error_free(error);
            return;
        }
        const gchar* path = nullptr;
        g_variant_get(reply, "(&o)", &path);
        static_cast<Impl*>(self)->clientPath = path;
        g_variant_unref(reply);
    }

    // Subscribed before the registration is sent, so the bus has the match
    // in place when the manager first speaks to the new client.
    void Subscribe() {
        subscription = g_dbus_connection_signal_subscribe(connection, kManagerName, kClientInterface, nullptr,
                                                          nullptr, nullptr, G_DBUS_SIGNAL_FLAGS_NONE, &OnSignal,
                                                          this, nullptr);
    }

    static void OnSignal(GDBusConnection*, const gchar*, const gchar* path, const gchar*, const gchar* signal,
                         GVariant*, gpointer self) {
        Impl& impl = *static_cast<Impl*>(self);
        if (!impl.clientPath.empty() && impl.clientPath == path) impl.Handle(signal);
    }

    void Handle(const char* signal) {
        if (std::strcmp(signal, "QueryEndSession") == 0) {
            if (handlers.onQueryEnd) handlers.onQueryEnd();
            Answer(true);
        } else if (std::strcmp(signal, "EndSession") == 0) {
            endPending = true;
            if (handlers.onEnd) handlers.onEnd();
        } else if (std::strcmp(signal, "Stop") == 0) {
            if (handlers.onEnd) handlers.onEnd();
        }
    }
};

SessionClient::SessionClient(std::string appId, Handlers handlers) : m_(std::make_unique<Impl>()) {
    m_->handlers = std::move(handlers);
    m_->connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (m_->connection == nullptr) return;
    // The start-up id the session manager gave this start belongs to this
    // program alone, not to the programs it starts.
    const char* startupId = std::getenv("DESKTOP_AUTOSTART_ID");
    const std::string startup = startupId != nullptr ? startupId : "";
    ::unsetenv("DESKTOP_AUTOSTART_ID");
    m_->Subscribe();
    g_dbus_connection_call(m_->connection, kManagerName, kManagerPath, kManagerInterface, "RegisterClient",
                           g_variant_new("(ss)", appId.c_str(), startup.c_str()), G_VARIANT_TYPE("(o)"),
                           G_DBUS_CALL_FLAGS_NO_AUTO_START, kCallTimeoutMs, m_->cancellable, &Impl::OnRegistered,
                           m_.get());
}

SessionClient::~SessionClient() {
    ConfirmEnd();
}

bool SessionClient::IsRegistered() const { return !m_->clientPath.empty(); }

void SessionClient::ConfirmEnd() {
    if (!m_->endPending) return;
    m_->endPending = false;
    m_->Answer(true);
}

}  // namespace platform
