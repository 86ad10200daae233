#include <cerrno>
#include <cstdlib>

#include "tools/sim/Role.h"

namespace quillon_sim {
std::string RoleOptions::Get(const std::string& name, const std::string& fallback) const {
    auto found = values.find(name);
    return found == values.end() ? fallback : found->second;
}

std::optional<long long> RoleOptions::GetNumber(const std::string& name, long long fallback) const {
    auto found = values.find(name);
    if (found == values.end()) return fallback;
    const std::string& text = found->second;
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || end == nullptr || *end != '\0') return std::nullopt;
    return value;
}

const RoleInfo* FindRole(RoleTable roles, std::string_view name) {
    for (const RoleInfo& role : roles) {
        if (role.name == name) return &role;
    }
    return nullptr;
}

}  // namespace quillon_sim
