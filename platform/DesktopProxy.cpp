#include "platform/DesktopProxy.h"

#include <gio/gio.h>

#include <algorithm>
#include <memory>

#include "platform/CrashPoint.h"

namespace platform {

namespace {

constexpr const char* kSchema = "org.gnome.system.proxy";

struct Key {
    const char* child;   // null: the main schema
    const char* name;
    const char* path;    // as DesktopProxyValue names it
};

// The keys the relay changes, in the order they are read and written.
constexpr Key kKeys[] = {
    {nullptr, "mode", "mode"},
    {"http", "host", "http.host"},   {"http", "port", "http.port"},
    {"https", "host", "https.host"}, {"https", "port", "https.port"},
    {"socks", "host", "socks.host"}, {"socks", "port", "socks.port"},
};
constexpr const char* kChildren[] = {"http", "https", "socks"};

struct Unref {
    void operator()(GSettings* s) const { g_object_unref(s); }
    void operator()(GSettingsSchema* s) const { g_settings_schema_unref(s); }
    void operator()(GSettingsSchemaKey* k) const { g_settings_schema_key_unref(k); }
    void operator()(GVariant* v) const { g_variant_unref(v); }
    void operator()(gchar* t) const { g_free(t); }
};
template <class T>
using Owned = std::unique_ptr<T, Unref>;

Owned<GSettingsSchema> LookUp(const char* id) {
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    return Owned<GSettingsSchema>(source ? g_settings_schema_source_lookup(source, id, TRUE) : nullptr);
}

// The main schema's settings and its children's, looked up first so that a
// missing schema never reaches g_settings_new (which aborts on one).
class ProxySettings {
public:
    ProxySettings() {
        Owned<GSettingsSchema> schema = LookUp(kSchema);
        if (!schema) return;
        for (const char* child : kChildren) {
            if (!LookUp((std::string(kSchema) + "." + child).c_str())) return;
        }
        main_.reset(g_settings_new_full(schema.get(), nullptr, nullptr));
        for (std::size_t i = 0; i < std::size(kChildren); ++i) {
            children_[i].reset(g_settings_get_child(main_.get(), kChildren[i]));
        }
    }

    bool available() const { return main_ != nullptr; }

    GSettings* For(const char* child) const {
        if (!child) return main_.get();
        for (std::size_t i = 0; i < std::size(kChildren); ++i) {
            if (std::string_view(kChildren[i]) == child) return children_[i].get();
        }
        return nullptr;
    }

    // Every object, main first.
    std::vector<GSettings*> All() const {
        std::vector<GSettings*> all{main_.get()};
        for (const auto& child : children_) all.push_back(child.get());
        return all;
    }

private:
    Owned<GSettings> main_;
    Owned<GSettings> children_[std::size(kChildren)];
};

const Key* FindKey(std::string_view path) {
    for (const Key& key : kKeys) {
        if (path == key.path) return &key;
    }
    return nullptr;
}

// The text as a value the key accepts; null when it is refused.
Owned<GVariant> Parse(GSettings* settings, const Key& key, const std::string& text) {
    GSettingsSchema* schema = nullptr;
    g_object_get(settings, "settings-schema", &schema, nullptr);
    Owned<GSettingsSchema> owned(schema);
    if (!schema || !g_settings_schema_has_key(schema, key.name)) return nullptr;
    Owned<GSettingsSchemaKey> schemaKey(g_settings_schema_get_key(schema, key.name));
    const GVariantType* type = g_settings_schema_key_get_value_type(schemaKey.get());
    Owned<GVariant> value(g_variant_parse(type, text.c_str(), nullptr, nullptr, nullptr));
    if (!value || !g_settings_schema_key_range_check(schemaKey.get(), value.get())) return nullptr;
    return value;
}

std::string Print(GVariant* value) {
    Owned<gchar> text(g_variant_print(value, FALSE));
    return text.get();
}

std::optional<std::string> UserText(GSettings* settings, const char* name) {
    Owned<GVariant> value(g_settings_get_user_value(settings, name));
    if (!value) return std::nullopt;
    return Print(value.get());
}

std::string Quoted(std::string_view text) {
    Owned<GVariant> value(g_variant_ref_sink(g_variant_new_string(std::string(text).c_str())));
    return Print(value.get());
}

}  // namespace

bool DesktopProxyAvailable() { return ProxySettings().available(); }

std::optional<DesktopProxyValues> ReadDesktopProxy() {
    const ProxySettings settings;
    if (!settings.available()) return std::nullopt;
    DesktopProxyValues values;
    for (const Key& key : kKeys) values.push_back({key.path, UserText(settings.For(key.child), key.name)});
    return values;
}

bool WriteDesktopProxy(const DesktopProxyValues& values) {
    const ProxySettings settings;
    if (!settings.available()) return false;

    struct Change {
        GSettings* settings;
        const Key* key;
        Owned<GVariant> value;   // null: back to the default
    };
    std::vector<Change> changes;
    for (const DesktopProxyValue& value : values) {
        const Key* key = FindKey(value.key);
        if (!key) return false;
        GSettings* target = settings.For(key->child);
        if (!g_settings_is_writable(target, key->name)) return false;
        Owned<GVariant> parsed;
        std::optional<std::string> wanted;
        if (value.text) {
            parsed = Parse(target, *key, *value.text);
            if (!parsed) return false;
            wanted = Print(parsed.get());
        }
        if (UserText(target, key->name) == wanted) continue;
        changes.push_back({target, key, std::move(parsed)});
    }

    // One write per schema object: its changes are held and applied together.
    bool stored = true;
    for (GSettings* target : settings.All()) {
        const auto touches = [target](const Change& change) { return change.settings == target; };
        if (std::none_of(changes.begin(), changes.end(), touches)) continue;
        g_settings_delay(target);
        for (const Change& change : changes) {
            if (!touches(change)) continue;
            if (change.value) stored &= g_settings_set_value(target, change.key->name, change.value.get()) != FALSE;
            else g_settings_reset(target, change.key->name);
        }
        g_settings_apply(target);
        g_settings_sync();
        AfterDurableWrite();
    }
    return stored;
}

bool PointDesktopProxy(DesktopProxyProtocols protocols, std::string_view host, unsigned port) {
    if (!DesktopProxyAvailable()) return false;
    const std::string quotedHost = Quoted(host);
    const std::string portText = std::to_string(port);
    DesktopProxyValues values = {{"mode", "'manual'"}};
    const auto point = [&](const char* child) {
        values.push_back({std::string(child) + ".host", quotedHost});
        values.push_back({std::string(child) + ".port", portText});
    };
    if (protocols != DesktopProxyProtocols::Socks) {
        point("http");
        point("https");
    }
    if (protocols != DesktopProxyProtocols::Http) point("socks");
    return WriteDesktopProxy(values);
}

}  // namespace platform
