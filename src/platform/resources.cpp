#include "platform/resources.h"

#include <strings.h>

#include <cstddef>
#include <string>
#include <vector>

#define DW_RESOURCE(i, kind, name)                 \
    extern "C" const uint8_t dw_res_##i##_begin[]; \
    extern "C" const uint8_t dw_res_##i##_end[];
#include "resource_table.inc"
#undef DW_RESOURCE

namespace dw {
namespace {

struct Entry {
    ResourceKind kind;
    const char* name;
    const uint8_t* begin;
    const uint8_t* end;
};

#define DW_RESOURCE(i, k, name) Entry{ResourceKind::k, name, dw_res_##i##_begin, dw_res_##i##_end},
constexpr Entry kEntries[] = {
#include "resource_table.inc"
};
#undef DW_RESOURCE

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

struct Override {
    ResourceKind kind;
    std::string name;
    std::span<const uint8_t> bytes;
};

std::vector<Override>& Overrides() {
    static std::vector<Override> overrides;
    return overrides;
}

std::function<void(ResourceKind, std::string_view)>& Observer() {
    static std::function<void(ResourceKind, std::string_view)> observer;
    return observer;
}

}  // namespace

void SetResourceObserver(std::function<void(ResourceKind, std::string_view)> observer) {
    Observer() = std::move(observer);
}

std::span<const uint8_t> FindResource(ResourceKind kind, std::string_view name) {
    if (Observer()) Observer()(kind, name);
    for (const Override& o : Overrides())
        if (o.kind == kind && SameName(o.name, name)) return o.bytes;
    for (const Entry& e : kEntries)
        if (e.kind == kind && SameName(e.name, name)) return {e.begin, size_t(e.end - e.begin)};
    return {};
}

void OverrideResource(ResourceKind kind, std::string_view name, std::span<const uint8_t> bytes) {
    auto& list = Overrides();
    std::erase_if(list, [&](const Override& o) { return o.kind == kind && SameName(o.name, name); });
    if (!bytes.empty()) list.push_back(Override{kind, std::string(name), bytes});
}

}  // namespace dw
