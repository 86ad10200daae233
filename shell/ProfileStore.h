// Where a program keeps the values it remembers between runs: the per-user profile store under
// the maker's and the program's name. Each toolkit's shell backs it with the platform's store;
// tests use an in-memory copy.
#pragma once

#include <cstdint>
#include <string>

namespace shell {

class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    [[nodiscard]] virtual std::string readText(const std::string& section, const std::string& name,
                                               const std::string& fallback) const = 0;
    [[nodiscard]] virtual std::int64_t readInteger(const std::string& section,
                                                   const std::string& name,
                                                   std::int64_t fallback) const = 0;
    virtual void writeText(const std::string& section, const std::string& name,
                           const std::string& value) = 0;
    virtual void writeInteger(const std::string& section, const std::string& name,
                              std::int64_t value) = 0;
};

}  // namespace shell
