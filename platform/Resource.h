#pragma once
// Binary resources compiled into a module (pictures, dialog layouts),
// found by type and name as a program finds its own resources. Numbered
// resources are named "#<number>". Types and names compare without case.
// A module's resources are registered when it loads (see kv_resources in
// cmake/Resources.cmake), so a lookup sees every loaded module's.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

using ResourceBytes = std::span<const std::uint8_t>;

// The name of numbered resource n: "#n".
std::string ResourceNumber(unsigned number);

// Registers bytes that live as long as the module (later registrations of
// the same type and name replace earlier ones).
void RegisterResource(std::string_view type, std::string_view name, ResourceBytes bytes);

// The bytes of a resource, or nothing when no loaded module has it.
std::optional<ResourceBytes> FindResource(std::string_view type, std::string_view name);

}  // namespace platform
