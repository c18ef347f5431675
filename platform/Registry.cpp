#include "platform/Registry.h"

#include <cstring>

#include "platform/RegText.h"
#include "platform/RegTree.h"
#include "platform/RegistryStore.h"

namespace platform {

namespace {

using KeyPath = std::vector<std::string>;

constexpr std::size_t kMaxValueNameLength = 16383;

// Splits at "\", dropping empty pieces, so that leading, trailing and
// doubled separators are tolerated.
KeyPath SplitPath(std::string_view path) {
    KeyPath names;
    while (!path.empty()) {
        const std::size_t end = path.find('\\');
        if (end != 0) names.emplace_back(path.substr(0, end));
        if (end == std::string_view::npos) break;
        path.remove_prefix(end + 1);
    }
    return names;
}

std::string JoinPath(const KeyPath& names) {
    std::string path;
    for (const std::string& name : names) {
        if (!path.empty()) path += '\\';
        path += name;
    }
    return path;
}

// Names the ".reg" file cannot hold on one line are refused.
bool HasLineBreakOrZero(std::string_view name) {
    return name.find_first_of(std::string_view("\0\r\n", 3)) != std::string_view::npos;
}

bool ValidKeyName(std::string_view name) {
    return name.size() <= kMaxKeyNameLength && !HasLineBreakOrZero(name);
}

bool ValidValueName(std::string_view name) {
    return name.size() <= kMaxValueNameLength && !HasLineBreakOrZero(name);
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

RegistryStore& Store() { return RegistryStore::Instance(); }

LONG ReadKey(const RegKey& key, const std::function<LONG(const RegNode&)>& reader) {
    if (!key.IsOpen()) return ERROR_INVALID_HANDLE;
    const KeyPath path = SplitPath(key.path());
    return Store().Read(key.hive(), [&](const RegNode& root) {
        const RegNode* node = root.Find(path);
        return node ? reader(*node) : ERROR_KEY_DELETED;
    });
}

LONG WriteKey(const RegKey& key, const std::function<LONG(RegNode&, bool&)>& writer) {
    if (!key.IsOpen()) return ERROR_INVALID_HANDLE;
    const KeyPath path = SplitPath(key.path());
    return Store().Write(key.hive(), [&](RegNode& root, bool& changed) {
        RegNode* node = root.Find(path);
        return node ? writer(*node, changed) : ERROR_KEY_DELETED;
    });
}

// A copy of one value, taken under the store's lock.
LONG ReadValue(const RegKey& key, std::string_view name, RegValue& value) {
    return ReadKey(key, [&](const RegNode& node) {
        const RegValue* found = node.FindValue(name);
        if (!found) return ERROR_FILE_NOT_FOUND;
        value = *found;
        return ERROR_SUCCESS;
    });
}

// The parent's path and the full path of subKey below it, checked.
LONG ResolveBelow(const RegKey& parent, std::string_view subKey, KeyPath& base, KeyPath& full) {
    if (!parent.IsOpen()) return ERROR_INVALID_HANDLE;
    base = SplitPath(parent.path());
    full = base;
    for (std::string& name : SplitPath(subKey)) {
        if (!ValidKeyName(name)) return ERROR_INVALID_PARAMETER;
        full.push_back(std::move(name));
    }
    if (full.size() > kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
    if (Store().IsDenied(parent.hive(), full)) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

LONG FindKey(Hive hive, const KeyPath& base, const KeyPath& full) {
    return Store().Read(hive, [&](const RegNode& root) {
        if (!root.Find(base)) return ERROR_KEY_DELETED;
        return root.Find(full) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG DeleteKey(const RegKey& key, std::string_view subKey, bool recursive) {
    if (!key.IsOpen()) return ERROR_INVALID_HANDLE;
    const KeyPath own = SplitPath(key.path());
    KeyPath target = own;
    for (std::string& name : SplitPath(subKey)) target.push_back(std::move(name));
    // A hive's root cannot go.
    if (target.empty()) return ERROR_ACCESS_DENIED;
    const bool denied = recursive ? Store().IsDeniedAtOrBelow(key.hive(), target)
                                  : Store().IsDenied(key.hive(), target);
    if (denied) return ERROR_ACCESS_DENIED;
    const KeyPath parentPath(target.begin(), target.end() - 1);
    return Store().Write(key.hive(), [&](RegNode& root, bool& changed) {
        if (!root.Find(own)) return ERROR_KEY_DELETED;
        RegNode* parent = root.Find(parentPath);
        const RegNode* node = parent ? parent->FindSubkey(target.back()) : nullptr;
        if (!node) return ERROR_FILE_NOT_FOUND;
        // As on Windows: a key with subkeys needs the recursive delete.
        if (!recursive && !node->subkeys.empty()) return ERROR_ACCESS_DENIED;
        parent->RemoveSubkey(target.back());
        changed = true;
        return ERROR_SUCCESS;
    });
}

std::vector<BYTE> DwordBytes(DWORD value) {
    return {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8), static_cast<BYTE>(value >> 16),
            static_cast<BYTE>(value >> 24)};
}

}  // namespace

RegKey RegKey::Root(Hive hive) {
    RegKey key;
    key.hive_ = hive;
    key.open_ = true;
    return key;
}

LONG RegKey::Create(Hive parent, std::string_view subKey, REGSAM access) {
    return Create(Root(parent), subKey, access);
}

LONG RegKey::Create(const RegKey& parent, std::string_view subKey, REGSAM) {
    KeyPath base;
    KeyPath full;
    if (const LONG result = ResolveBelow(parent, subKey, base, full); result != ERROR_SUCCESS) return result;
    const Hive hive = parent.hive_;
    // Most creates find the key there already; only a missing one takes the
    // file lock.
    LONG result = FindKey(hive, base, full);
    if (result == ERROR_FILE_NOT_FOUND) {
        result = Store().Write(hive, [&](RegNode& root, bool& changed) {
            RegNode* node = root.Find(base);
            if (!node) return ERROR_KEY_DELETED;
            for (std::size_t i = base.size(); i < full.size(); ++i) node = &node->SubkeyOrAdd(full[i], changed);
            return ERROR_SUCCESS;
        });
    }
    if (result != ERROR_SUCCESS) return result;
    hive_ = hive;
    path_ = JoinPath(full);
    open_ = true;
    return ERROR_SUCCESS;
}

LONG RegKey::Open(Hive parent, std::string_view subKey, REGSAM access) {
    return Open(Root(parent), subKey, access);
}

LONG RegKey::Open(const RegKey& parent, std::string_view subKey, REGSAM) {
    KeyPath base;
    KeyPath full;
    if (const LONG result = ResolveBelow(parent, subKey, base, full); result != ERROR_SUCCESS) return result;
    const Hive hive = parent.hive_;
    if (const LONG result = FindKey(hive, base, full); result != ERROR_SUCCESS) return result;
    hive_ = hive;
    path_ = JoinPath(full);
    open_ = true;
    return ERROR_SUCCESS;
}

LONG RegKey::Close() {
    if (!open_) return ERROR_INVALID_HANDLE;
    open_ = false;
    path_.clear();
    return ERROR_SUCCESS;
}

LONG RegKey::QueryValue(std::string_view name, DWORD* type, void* data, DWORD* size) const {
    if (!open_) return ERROR_INVALID_HANDLE;
    if (data && !size) return ERROR_INVALID_PARAMETER;
    RegValue value;
    if (const LONG result = ReadValue(*this, name, value); result != ERROR_SUCCESS) return result;
    if (type) *type = value.type;
    if (!size) return ERROR_SUCCESS;
    const auto needed = static_cast<DWORD>(value.data.size());
    if (data && *size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed) std::memcpy(data, value.data.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

LONG RegKey::SetValue(std::string_view name, DWORD type, const void* data, DWORD size) {
    if (!open_) return ERROR_INVALID_HANDLE;
    if (!ValidValueName(name) || (!data && size)) return ERROR_INVALID_PARAMETER;
    const auto* bytes = static_cast<const BYTE*>(data);
    std::vector<BYTE> stored(bytes, bytes + size);
    return WriteKey(*this, [&](RegNode& node, bool& changed) {
        changed = node.PutValue(name, type, std::move(stored));
        return ERROR_SUCCESS;
    });
}

LONG RegKey::QueryDWORDValue(std::string_view name, DWORD& value) const {
    RegValue stored;
    if (const LONG result = ReadValue(*this, name, stored); result != ERROR_SUCCESS) return result;
    if (stored.type != REG_DWORD || stored.data.size() != 4) return ERROR_INVALID_DATA;
    value = stored.data[0] | (DWORD{stored.data[1]} << 8) | (DWORD{stored.data[2]} << 16) |
            (DWORD{stored.data[3]} << 24);
    return ERROR_SUCCESS;
}

LONG RegKey::SetDWORDValue(std::string_view name, DWORD value) {
    const std::vector<BYTE> bytes = DwordBytes(value);
    return SetValue(name, REG_DWORD, bytes.data(), static_cast<DWORD>(bytes.size()));
}

LONG RegKey::QueryStringValue(std::string_view name, char* buf, DWORD* chars) const {
    if (!open_) return ERROR_INVALID_HANDLE;
    if (!chars) return ERROR_INVALID_PARAMETER;
    RegValue stored;
    if (const LONG result = ReadValue(*this, name, stored); result != ERROR_SUCCESS) return result;
    if (!IsText(stored.type)) return ERROR_INVALID_DATA;
    const auto needed = static_cast<DWORD>(stored.data.size());
    if (!buf) {
        *chars = needed;
        return ERROR_SUCCESS;
    }
    if (*chars < needed) {
        *chars = needed;
        return ERROR_MORE_DATA;
    }
    // A text stored without its terminating zero is never handed out as if
    // it had one: the caller would read past the end.
    if (stored.data.empty() || stored.data.back() != 0) {
        if (*chars > 0) buf[0] = '\0';
        *chars = needed;
        return ERROR_INVALID_DATA;
    }
    std::memcpy(buf, stored.data.data(), needed);
    *chars = needed;
    return ERROR_SUCCESS;
}

LONG RegKey::QueryStringValue(std::string_view name, std::string& value) const {
    RegValue stored;
    if (const LONG result = ReadValue(*this, name, stored); result != ERROR_SUCCESS) return result;
    if (!IsText(stored.type)) return ERROR_INVALID_DATA;
    const std::string text(stored.data.begin(), stored.data.end());
    value = text.substr(0, text.find('\0'));
    return ERROR_SUCCESS;
}

LONG RegKey::SetStringValue(std::string_view name, std::string_view value, DWORD type) {
    if (!IsText(type)) return ERROR_INVALID_PARAMETER;
    std::string bytes(value);
    bytes.push_back('\0');
    return SetValue(name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

LONG RegKey::QueryBinaryValue(std::string_view name, std::vector<BYTE>& value) const {
    RegValue stored;
    if (const LONG result = ReadValue(*this, name, stored); result != ERROR_SUCCESS) return result;
    if (stored.type != REG_BINARY) return ERROR_INVALID_DATA;
    value = std::move(stored.data);
    return ERROR_SUCCESS;
}

LONG RegKey::SetBinaryValue(std::string_view name, const void* data, DWORD size) {
    return SetValue(name, REG_BINARY, data, size);
}

LONG RegKey::DeleteValue(std::string_view name) {
    return WriteKey(*this, [&](RegNode& node, bool& changed) {
        changed = node.RemoveValue(name);
        return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegKey::DeleteSubKey(std::string_view subKey) { return DeleteKey(*this, subKey, false); }

LONG RegKey::RecurseDeleteKey(std::string_view subKey) { return DeleteKey(*this, subKey, true); }

LONG RegKey::EnumKey(DWORD index, std::string& name) const {
    return ReadKey(*this, [&](const RegNode& node) {
        if (index >= node.subkeys.size()) return ERROR_NO_MORE_ITEMS;
        name = node.subkeys[index].name;
        return ERROR_SUCCESS;
    });
}

LONG RegKey::EnumValue(DWORD index, std::string& name, DWORD* type) const {
    return ReadKey(*this, [&](const RegNode& node) {
        if (index >= node.values.size()) return ERROR_NO_MORE_ITEMS;
        name = node.values[index].name;
        if (type) *type = node.values[index].type;
        return ERROR_SUCCESS;
    });
}

LONG RegKey::QueryInfoKey(DWORD* subKeys, DWORD* values) const {
    return ReadKey(*this, [&](const RegNode& node) {
        if (subKeys) *subKeys = static_cast<DWORD>(node.subkeys.size());
        if (values) *values = static_cast<DWORD>(node.values.size());
        return ERROR_SUCCESS;
    });
}

LONG RegKey::GetKeySecurity(std::vector<BYTE>& descriptor) const {
    return ReadKey(*this, [&](const RegNode& node) {
        descriptor = node.security;
        return ERROR_SUCCESS;
    });
}

LONG RegKey::SetKeySecurity(const std::vector<BYTE>& descriptor) {
    return WriteKey(*this, [&](RegNode& node, bool& changed) {
        changed = node.security != descriptor;
        node.security = descriptor;
        return ERROR_SUCCESS;
    });
}

RegistryBatch::RegistryBatch() { RegistryStore::Instance().BeginBatch(); }

RegistryBatch::~RegistryBatch() {
    if (open_) RegistryStore::Instance().EndBatch();
}

LONG RegistryBatch::Commit() {
    if (!open_) return ERROR_INVALID_HANDLE;
    open_ = false;
    return RegistryStore::Instance().EndBatch();
}

namespace registry_test {

void DenyPath(Hive hive, std::string_view path) { Store().Deny(hive, SplitPath(path)); }

void ClearDenials() { Store().ClearDenials(); }

bool LoadHiveText(Hive hive, std::string_view regText) {
    auto parsed = ParseHiveText(hive, regText, true);
    if (!parsed) return false;
    return Store().Write(hive, [&](RegNode& root, bool& changed) {
        root = std::move(*parsed);
        changed = true;
        return ERROR_SUCCESS;
    }) == ERROR_SUCCESS;
}

std::string DumpHive(Hive hive) {
    std::string text;
    Store().Read(hive, [&](const RegNode& root) {
        text = FormatHiveText(hive, root);
        return ERROR_SUCCESS;
    });
    return text;
}

}  // namespace registry_test

}  // namespace platform
