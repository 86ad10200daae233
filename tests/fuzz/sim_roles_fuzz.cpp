// The simulator's stream parsers (the store's and the loader's) on any bytes, in any chunking:
// the first input byte picks the role, the second the chunk size; a pause (OnIdle) follows
// every chunk whose first byte is 0xFF.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "tools/sim/Role.h"

namespace {

class SilentWire : public quillon_sim::Wire {
public:
    std::uint32_t ClientRate() const override { return rate; }
    void Reply(std::span<const std::uint8_t>, std::string_view) override {}
    bool ShouldRefuse(std::uint32_t unit) override { return unit % 7 == 3; }
    void UnitAccepted() override {}
    void Log(std::string_view) override {}
    void Report(std::string_view) override {}
    std::uint32_t rate = 0;
};

std::unique_ptr<quillon_sim::Role> MakeRole(bool store) {
    static const quillon_sim::RoleInfo kStore = quillon_sim::StoreRoleInfo();
    static const quillon_sim::RoleInfo kLoader = quillon_sim::LoaderRoleInfo();
    std::string error;
    std::unique_ptr<quillon_sim::Role> role =
        (store ? kStore : kLoader).make(quillon_sim::RoleOptions{}, error);
    if (!role) std::abort();
    return role;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    std::unique_ptr<quillon_sim::Role> role = MakeRole(data[0] % 2 == 0);
    const std::size_t chunk = data[1] % 32 + 1;
    SilentWire wire;
    for (std::size_t at = 2; at < size; at += chunk) {
        const std::span<const std::uint8_t> piece(data + at, std::min(chunk, size - at));
        wire.rate = role->ListenRate();
        role->OnReceive(piece, wire);
        if (piece[0] == 0xFF) role->OnIdle(wire);
    }
    return 0;
}
