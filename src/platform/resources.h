// Built-in resources: pictures and WAVE sounds compiled into the executable.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace dw {

enum class ResourceKind { Bitmap, Wave };

// The bytes of the resource of that kind and name (names compare case-insensitively,
// as resource names do); empty when there is none.
std::span<const uint8_t> FindResource(ResourceKind kind, std::string_view name);

// Tests watch every lookup (kind and name, in order); an empty function stops watching.
void SetResourceObserver(std::function<void(ResourceKind, std::string_view)> observer);

// Tests replace a built-in resource with other bytes (which must outlive the override);
// an empty span removes the override.
void OverrideResource(ResourceKind kind, std::string_view name, std::span<const uint8_t> bytes);

}  // namespace dw
