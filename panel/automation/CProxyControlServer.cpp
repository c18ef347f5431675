#include "panel/automation/CProxyControlServer.h"

#include <gio/gio.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::unique_ptr<CProxyControlServer> g_pServer;

using MethodCall = GVariant* (*)(ProxyControl& object, GVariant* parameters);

struct MethodRow {
    const char* name;
    MethodCall call;
};

GVariant* State(std::int16_t state) { return g_variant_new("(n)", state); }

std::int32_t Long(GVariant* parameters) {
    gint32 value = 0;
    g_variant_get(parameters, "(i)", &value);
    return value;
}

std::int16_t Short(GVariant* parameters) {
    gint16 value = 0;
    g_variant_get(parameters, "(n)", &value);
    return value;
}

// Methods answered with no value return null (an empty reply).
constexpr MethodRow kMethods[] = {
    {"StartProxy", [](ProxyControl& o, GVariant*) -> GVariant* { o.StartProxy(); return nullptr; }},
    {"StopProxy", [](ProxyControl& o, GVariant*) -> GVariant* { o.StopProxy(); return nullptr; }},
    {"GetProxyStatus", [](ProxyControl& o, GVariant*) -> GVariant* {
         std::int16_t state = 1;
         o.GetProxyStatus(state);
         return State(state);
     }},
    {"FireDataArrive", [](ProxyControl& o, GVariant* p) -> GVariant* { o.FireDataArrive(Long(p)); return nullptr; }},
    {"FireDataSent", [](ProxyControl& o, GVariant* p) -> GVariant* { o.FireDataSent(Long(p)); return nullptr; }},
    {"FireProxyStatusChange",
     [](ProxyControl& o, GVariant* p) -> GVariant* { o.FireProxyStatusChange(Short(p)); return nullptr; }},
    {"StartOutFilter", [](ProxyControl& o, GVariant*) -> GVariant* { o.StartOutFilter(); return nullptr; }},
    {"StopOutFilter", [](ProxyControl& o, GVariant*) -> GVariant* { o.StopOutFilter(); return nullptr; }},
    {"StartInFilter", [](ProxyControl& o, GVariant*) -> GVariant* { o.StartInFilter(); return nullptr; }},
    {"StopInFilter", [](ProxyControl& o, GVariant*) -> GVariant* { o.StopInFilter(); return nullptr; }},
    {"GetInFilterStatus", [](ProxyControl& o, GVariant*) -> GVariant* {
         std::int16_t state = 8;
         o.GetInFilterStatus(state);
         return State(state);
     }},
    {"GetOutFilterStatus", [](ProxyControl& o, GVariant*) -> GVariant* {
         std::int16_t state = 6;
         o.GetOutFilterStatus(state);
         return State(state);
     }},
    {"GetPrivacyStatus", [](ProxyControl& o, GVariant*) -> GVariant* {
         std::int16_t state = 10;
         o.GetPrivacyStatus(state);
         return State(state);
     }},
    {"StartPrivacy", [](ProxyControl& o, GVariant*) -> GVariant* { o.StartPrivacy(); return nullptr; }},
    {"StopPrivacy", [](ProxyControl& o, GVariant*) -> GVariant* { o.StopPrivacy(); return nullptr; }},
};

// RequestName flags: another instance may take the name from us; we take it
// from an instance that allows that.
constexpr guint32 kAllowReplacement = 0x1;
constexpr guint32 kReplaceExisting = 0x2;

// RequestName answers: the name is ours, we wait in its queue, or we
// already had it.
constexpr guint32 kNamePrimaryOwner = 1;
constexpr guint32 kNameInQueue = 2;
constexpr guint32 kNameAlreadyOwner = 4;

GVariant* CallBus(GDBusConnection* connection, const char* method, GVariant* parameters,
                  const GVariantType* replyType) {
    return g_dbus_connection_call_sync(connection, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                       "org.freedesktop.DBus", method, parameters, replyType,
                                       G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
}

}  // namespace

struct CProxyControlServer::Bus {
    GDBusConnection* connection = nullptr;
    GDBusNodeInfo* node = nullptr;
    guint registration = 0;
    bool nameRequested = false;

    ~Bus() {
        if (nameRequested) {
            if (GVariant* reply = CallBus(connection, "ReleaseName", g_variant_new("(s)", kBusName),
                                          G_VARIANT_TYPE("(u)"))) {
                g_variant_unref(reply);
            }
        }
        if (registration != 0) g_dbus_connection_unregister_object(connection, registration);
        if (node != nullptr) g_dbus_node_info_unref(node);
        if (connection != nullptr) {
            g_dbus_connection_flush_sync(connection, nullptr, nullptr);
            g_object_unref(connection);
        }
    }

    static void OnMethodCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method,
                             GVariant* parameters, GDBusMethodInvocation* invocation, gpointer self) {
        ProxyControl& object = static_cast<CProxyControlServer*>(self)->m_Object;
        for (const MethodRow& row : kMethods) {
            if (std::strcmp(row.name, method) != 0) continue;
            g_dbus_method_invocation_return_value(invocation, row.call(object, parameters));
            return;
        }
        g_dbus_method_invocation_return_error(invocation, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD,
                                              "No method %s", method);
    }

    platform::HRESULT Emit(const char* signal, GVariant* parameters) const {
        const gboolean sent = g_dbus_connection_emit_signal(connection, nullptr, kObjectPath, kInterfaceName,
                                                            signal, parameters, nullptr);
        return sent ? platform::S_OK : platform::E_FAIL;
    }
};

CProxyControlServer::CProxyControlServer(CServerHost& host)
    : m_pBus(std::make_unique<Bus>()), m_Object(host) {}

CProxyControlServer::~CProxyControlServer() {
    if (m_Cookie != 0) m_Object.Unadvise(m_Cookie);
}

bool CProxyControlServer::RegisterClassObjects(CServerHost& host, CKVDeskModule::eNameClaim claim) {
    RevokeClassObjects();
    std::unique_ptr<CProxyControlServer> server(new CProxyControlServer(host));
    const std::string failure = server->Export(claim);
    if (!failure.empty()) {
        // The program goes on without the object (or ends, with nothing to
        // serve); it says why once.
        static bool told = false;
        if (!told) std::fprintf(stderr, "KVDesk: the automation object is not served: %s.\n", failure.c_str());
        told = true;
        return false;
    }
    g_pServer = std::move(server);
    return true;
}

void CProxyControlServer::RevokeClassObjects() { g_pServer.reset(); }

CProxyControlServer* CProxyControlServer::Current() { return g_pServer.get(); }

std::string CProxyControlServer::Export(CKVDeskModule::eNameClaim claim) {
    Bus& bus = *m_pBus;
    GError* error = nullptr;
    bus.connection = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (bus.connection == nullptr) {
        std::string why = "the session bus cannot be reached (";
        why += error != nullptr ? error->message : "no address";
        why += ")";
        if (error != nullptr) g_error_free(error);
        return why;
    }
    // The panel outlives a lost session bus.
    g_dbus_connection_set_exit_on_close(bus.connection, FALSE);

    const std::string xml(IntrospectionXml());
    bus.node = g_dbus_node_info_new_for_xml(xml.c_str(), nullptr);
    GDBusInterfaceInfo* info =
        bus.node != nullptr ? g_dbus_node_info_lookup_interface(bus.node, kInterfaceName) : nullptr;
    if (info == nullptr) return "its interface description does not parse";

    static const GDBusInterfaceVTable vtable{&Bus::OnMethodCall, nullptr, nullptr, {}};
    bus.registration =
        g_dbus_connection_register_object(bus.connection, kObjectPath, info, &vtable, this, nullptr, nullptr);
    if (bus.registration == 0) return std::string("the object cannot be exported at ") + kObjectPath;

    const guint32 flags = claim == CKVDeskModule::eNameClaim::Take ? kReplaceExisting : kAllowReplacement;
    GVariant* reply = CallBus(bus.connection, "RequestName", g_variant_new("(su)", kBusName, flags),
                              G_VARIANT_TYPE("(u)"));
    if (reply == nullptr) return std::string("the bus refused the name ") + kBusName;
    guint32 answer = 0;
    g_variant_get(reply, "(u)", &answer);
    g_variant_unref(reply);
    bus.nameRequested = answer == kNamePrimaryOwner || answer == kNameInQueue || answer == kNameAlreadyOwner;
    if (!bus.nameRequested) return std::string("the bus refused the name ") + kBusName;

    m_Cookie = m_Object.Advise(this);
    return {};
}

platform::HRESULT CProxyControlServer::DataArrive(std::int32_t iAmount) {
    return m_pBus->Emit("DataArrive", g_variant_new("(i)", iAmount));
}

platform::HRESULT CProxyControlServer::DataSent(std::int32_t iAmount) {
    return m_pBus->Emit("DataSent", g_variant_new("(i)", iAmount));
}

platform::HRESULT CProxyControlServer::ProxyStatusChange(std::int16_t state) {
    return m_pBus->Emit("ProxyStatusChange", g_variant_new("(n)", state));
}
