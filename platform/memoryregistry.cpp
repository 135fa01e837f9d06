#include "platform/memoryregistry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/utf8text.h"

namespace {

// Registry names compare without regard to case.
std::string Fold(const std::string& name) {
    std::string folded(name);
    for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folded;
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(Fold(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(Fold(part));
    return parts;
}

constexpr std::uint32_t QueryRight = 0x0001;
constexpr std::uint32_t SetRight = 0x0002;
constexpr std::uint32_t CreateRight = 0x0004;
constexpr long KeyDeleted = 1018;
// Rights that change a key: set value, create sub-key, delete, write DAC, write owner.
constexpr std::uint32_t ChangeRights = SetRight | CreateRight | 0x10000 | 0x40000 | 0x80000;
constexpr std::uint32_t ReadRights = 0x20019;
constexpr std::uint32_t AllRights = 0xF003F;

} // namespace

struct MemoryRegistry::Node {
    std::map<std::string, std::shared_ptr<Node>> children;
    std::map<std::string, StoredValue> values;
    bool deleted = false;
};

MemoryRegistry::MemoryRegistry() : machine_(std::make_shared<Node>()), user_(std::make_shared<Node>()) {}
MemoryRegistry::~MemoryRegistry() = default;

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Find(const std::shared_ptr<Node>& from,
                                                           const std::string& path) const {
    std::shared_ptr<Node> node = from;
    for (const std::string& part : SplitPath(path)) {
        auto child = node->children.find(part);
        if (child == node->children.end()) return nullptr;
        node = child->second;
    }
    return node;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::RootNode(RegistryKey root) const {
    if (root == RegistryLocalMachine) return machine_;
    if (root == RegistryCurrentUser) return user_;
    return nullptr;
}

std::shared_ptr<MemoryRegistry::Node> MemoryRegistry::Resolve(RegistryKey key, std::uint32_t* access,
                                                              RegistryKey* root) const {
    if (std::shared_ptr<Node> node = RootNode(key)) {
        *access = Refuses(key) ? ReadRights : AllRights;
        *root = key;
        return node;
    }
    auto handle = handles_.find(key);
    if (handle == handles_.end()) return nullptr;
    *access = handle->second.access;
    *root = handle->second.root;
    return handle->second.node;
}

RegistryKey MemoryRegistry::NewHandle(std::shared_ptr<Node> node, std::uint32_t access, RegistryKey root) {
    RegistryKey key = nextHandle_;
    nextHandle_ += 4;
    handles_[key] = Handle{std::move(node), access, root};
    return key;
}

void MemoryRegistry::RefuseWrites(RegistryKey root) {
    std::lock_guard<std::mutex> hold(mutex_);
    refused_.insert(root);
}

long MemoryRegistry::OpenKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) {
    std::lock_guard<std::mutex> hold(mutex_);
    std::uint32_t parentAccess = 0;
    RegistryKey root = 0;
    std::shared_ptr<Node> from = Resolve(parent, &parentAccess, &root);
    if (!from) return RegistryInvalidHandle;
    if (from->deleted) return KeyDeleted;
    std::shared_ptr<Node> node = Find(from, path ? path : "");
    if (!node) return RegistryNotFound;
    if (Refuses(root) && (access & ChangeRights)) return RegistryAccessDenied;
    *key = NewHandle(node, access, root);
    return RegistrySuccess;
}

long MemoryRegistry::CreateKey(RegistryKey parent, const char* path, std::uint32_t access, RegistryKey* key) {
    std::lock_guard<std::mutex> hold(mutex_);
    std::uint32_t parentAccess = 0;
    RegistryKey root = 0;
    std::shared_ptr<Node> node = Resolve(parent, &parentAccess, &root);
    if (!node) return RegistryInvalidHandle;
    if (node->deleted) return KeyDeleted;
    std::vector<std::string> parts = SplitPath(path ? path : "");
    const bool exists = Find(node, path ? path : "") != nullptr;
    if (!parts.empty() && !exists && !(parentAccess & CreateRight)) return RegistryAccessDenied;
    if (Refuses(root) && (!exists || (access & ChangeRights))) return RegistryAccessDenied;
    for (const std::string& part : parts) {
        std::shared_ptr<Node>& child = node->children[part];
        if (!child) child = std::make_shared<Node>();
        node = child;
    }
    *key = NewHandle(node, access, root);
    return RegistrySuccess;
}

long MemoryRegistry::QueryValue(RegistryKey key, const char* name, std::uint32_t* type, void* data,
                                std::uint32_t* size) {
    std::lock_guard<std::mutex> hold(mutex_);
    std::uint32_t access = 0;
    RegistryKey root = 0;
    std::shared_ptr<Node> node = Resolve(key, &access, &root);
    if (!node) return RegistryInvalidHandle;
    if (node->deleted) return KeyDeleted;
    if (!(access & QueryRight)) return RegistryAccessDenied;
    if (data && !size) return RegistryInvalidParameter;
    auto found = node->values.find(Fold(name ? name : ""));
    if (found == node->values.end()) return RegistryNotFound;
    const StoredValue& value = found->second;
    std::string stored(value.data.begin(), value.data.end());
    // The system's conversion from UTF-16 never gives anything but UTF-8; a value put
    // here directly by a test comes out the same way.
    if (IsRegistryTextType(value.type)) stored = ValidUtf8(stored);
    return DeliverRegistryValue(stored, value.type, type, data, size);
}

long MemoryRegistry::SetValue(RegistryKey key, const char* name, std::uint32_t type, const void* data,
                              std::uint32_t size) {
    std::lock_guard<std::mutex> hold(mutex_);
    std::uint32_t access = 0;
    RegistryKey root = 0;
    std::shared_ptr<Node> node = Resolve(key, &access, &root);
    if (!node) return RegistryInvalidHandle;
    if (node->deleted) return KeyDeleted;
    if (!(access & SetRight)) return RegistryAccessDenied;
    if (IsRegistryTextType(type) &&
        !IsValidUtf8(std::string(static_cast<const char*>(data), data ? size : 0)))
        return RegistryNotText;
    StoredValue& value = node->values[Fold(name ? name : "")];
    value.type = type;
    const auto* bytes = static_cast<const unsigned char*>(data);
    value.data.assign(bytes, bytes + (data ? size : 0));
    return RegistrySuccess;
}

long MemoryRegistry::DeleteValue(RegistryKey key, const char* name) {
    std::lock_guard<std::mutex> hold(mutex_);
    std::uint32_t access = 0;
    RegistryKey root = 0;
    std::shared_ptr<Node> node = Resolve(key, &access, &root);
    if (!node) return RegistryInvalidHandle;
    if (node->deleted) return KeyDeleted;
    if (!(access & SetRight)) return RegistryAccessDenied;
    return node->values.erase(Fold(name ? name : "")) ? RegistrySuccess : RegistryNotFound;
}

long MemoryRegistry::DeleteKey(RegistryKey parent, const char* path) {
    std::lock_guard<std::mutex> hold(mutex_);
    std::uint32_t access = 0;
    RegistryKey root = 0;
    std::shared_ptr<Node> from = Resolve(parent, &access, &root);
    if (!from) return RegistryInvalidHandle;
    if (from->deleted) return KeyDeleted;
    std::vector<std::string> parts = SplitPath(path ? path : "");
    if (parts.empty()) return RegistryAccessDenied;
    std::shared_ptr<Node> owner = from;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        auto child = owner->children.find(parts[i]);
        if (child == owner->children.end()) return RegistryNotFound;
        owner = child->second;
    }
    auto target = owner->children.find(parts.back());
    if (target == owner->children.end()) return RegistryNotFound;
    if (Refuses(root)) return RegistryAccessDenied;
    if (!target->second->children.empty()) return RegistryAccessDenied;
    target->second->deleted = true;
    owner->children.erase(target);
    return RegistrySuccess;
}

long MemoryRegistry::CloseKey(RegistryKey key) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (RootNode(key)) return RegistrySuccess;
    return handles_.erase(key) ? RegistrySuccess : RegistryInvalidHandle;
}

void MemoryRegistry::PutKey(const std::string& path, RegistryKey root) {
    std::lock_guard<std::mutex> hold(mutex_);
    std::shared_ptr<Node> node = RootNode(root);
    for (const std::string& part : SplitPath(path)) {
        std::shared_ptr<Node>& child = node->children[part];
        if (!child) child = std::make_shared<Node>();
        node = child;
    }
}

void MemoryRegistry::PutValue(const std::string& path, const std::string& name, std::uint32_t type,
                              const void* data, std::size_t size, RegistryKey root) {
    PutKey(path, root);
    std::lock_guard<std::mutex> hold(mutex_);
    std::shared_ptr<Node> node = Find(RootNode(root), path);
    StoredValue& value = node->values[Fold(name)];
    value.type = type;
    const auto* bytes = static_cast<const unsigned char*>(data);
    value.data.assign(bytes, bytes + size);
}

void MemoryRegistry::PutText(const std::string& path, const std::string& name, const std::string& text,
                             RegistryKey root) {
    PutValue(path, name, RegistryText, text.c_str(), text.size() + 1, root);
}

void MemoryRegistry::PutDword(const std::string& path, const std::string& name, std::uint32_t value,
                              RegistryKey root) {
    PutValue(path, name, RegistryDword, &value, sizeof value, root);
}

bool MemoryRegistry::HasKey(const std::string& path, RegistryKey root) const {
    std::lock_guard<std::mutex> hold(mutex_);
    return Find(RootNode(root), path) != nullptr;
}

std::optional<MemoryRegistry::StoredValue> MemoryRegistry::GetValue(const std::string& path,
                                                                    const std::string& name,
                                                                    RegistryKey root) const {
    std::lock_guard<std::mutex> hold(mutex_);
    std::shared_ptr<Node> node = Find(RootNode(root), path);
    if (!node) return std::nullopt;
    auto found = node->values.find(Fold(name));
    if (found == node->values.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> MemoryRegistry::ValueNames(const std::string& path, RegistryKey root) const {
    std::lock_guard<std::mutex> hold(mutex_);
    std::vector<std::string> names;
    if (std::shared_ptr<Node> node = Find(RootNode(root), path))
        for (const auto& value : node->values) names.push_back(value.first);
    return names;
}

std::vector<std::string> MemoryRegistry::SubKeyNames(const std::string& path, RegistryKey root) const {
    std::lock_guard<std::mutex> hold(mutex_);
    std::vector<std::string> names;
    if (std::shared_ptr<Node> node = Find(RootNode(root), path))
        for (const auto& child : node->children) names.push_back(child.first);
    return names;
}

std::size_t MemoryRegistry::OpenHandleCount() const {
    std::lock_guard<std::mutex> hold(mutex_);
    return handles_.size();
}
