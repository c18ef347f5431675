#include "platform/RegTree.h"

#include <algorithm>

namespace platform {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lower(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = LowerAscii(c);
    return lower;
}

template <typename Items>
auto FindNamed(Items& items, std::string_view name) {
    return std::find_if(items.begin(), items.end(),
                        [name](const auto& item) { return EqualNoCase(item.name, name); });
}

// The item of that name, or null; const or not as the list is.
template <typename Items>
auto* Named(Items& items, std::string_view name) {
    const auto it = FindNamed(items, name);
    return it == items.end() ? nullptr : &*it;
}

template <typename Node>
Node* FindPath(Node* node, const std::vector<std::string>& path) {
    for (const std::string& key : path) {
        node = Named(node->subkeys, key);
        if (!node) return nullptr;
    }
    return node;
}

}  // namespace

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

RegNode* RegNode::FindSubkey(std::string_view key) { return Named(subkeys, key); }

const RegNode* RegNode::FindSubkey(std::string_view key) const { return Named(subkeys, key); }

RegNode& RegNode::SubkeyOrAdd(std::string_view key, bool& added) {
    if (RegNode* found = FindSubkey(key)) return *found;
    RegNode& node = subkeys.emplace_back();
    node.name = key;
    added = true;
    return node;
}

bool RegNode::RemoveSubkey(std::string_view key) {
    const auto it = FindNamed(subkeys, key);
    if (it == subkeys.end()) return false;
    subkeys.erase(it);
    return true;
}

RegValue* RegNode::FindValue(std::string_view value) {
    const auto it = valueIndex_.find(Lower(value));
    return it == valueIndex_.end() ? nullptr : &values[it->second];
}

const RegValue* RegNode::FindValue(std::string_view value) const {
    const auto it = valueIndex_.find(Lower(value));
    return it == valueIndex_.end() ? nullptr : &values[it->second];
}

bool RegNode::PutValue(std::string_view value, DWORD type, std::vector<BYTE> data) {
    if (RegValue* found = FindValue(value)) {
        if (found->type == type && found->data == data) return false;
        found->type = type;
        found->data = std::move(data);
        return true;
    }
    valueIndex_.emplace(Lower(value), values.size());
    values.push_back(RegValue{std::string(value), type, std::move(data)});
    return true;
}

bool RegNode::RemoveValue(std::string_view value) {
    const auto it = valueIndex_.find(Lower(value));
    if (it == valueIndex_.end()) return false;
    const std::size_t place = it->second;
    valueIndex_.erase(it);
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(place));
    for (auto& [name, index] : valueIndex_)
        if (index > place) --index;
    return true;
}

RegNode* RegNode::Find(const std::vector<std::string>& path) { return FindPath(this, path); }

const RegNode* RegNode::Find(const std::vector<std::string>& path) const { return FindPath(this, path); }

}  // namespace platform
