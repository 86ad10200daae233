// Until the Win32 programs' registry store is linked here, `quillon send` on Windows reads no
// profile and uses the default rate (or --baud).
#include "tools/quillon/profile.h"

namespace quillon {
namespace {

class NoProfile : public shell::ProfileStore {
public:
    std::string readText(const std::string&, const std::string&,
                         const std::string& fallback) const override {
        return fallback;
    }
    std::int64_t readInteger(const std::string&, const std::string&,
                             std::int64_t fallback) const override {
        return fallback;
    }
    void writeText(const std::string&, const std::string&, const std::string&) override {}
    void writeInteger(const std::string&, const std::string&, std::int64_t) override {}
};

}  // namespace

std::unique_ptr<shell::ProfileStore> openZonesendProfile() {
    return std::make_unique<NoProfile>();
}

}  // namespace quillon
