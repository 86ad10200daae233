// The instrument roles of quillon-sim, and what the simulator gives them.
//
// A role is the instrument's side of one protocol (the airspace store, the download loader).
// It lives in its own <Name>Role.cpp, which gives its name, options and factory as a RoleInfo
// (StoreRoleInfo(), LoaderRoleInfo()). The program's list of roles is the table in
// tools/sim/main.cpp; a test passes the roles it plays:
//
//     RoleInfo StoreRoleInfo() {
//         return {"store", "the airspace store of the Quillon",
//                 {{"free", "N", "free 14-byte blocks to report (default 228)"}},
//                 [](const RoleOptions& o, std::string& error) -> std::unique_ptr<Role> { ... }};
//     }
//
// How the simulator drives a role:
// - Bytes the client writes reach OnReceive in the chunks they arrive in (a message may be split
//   over several calls, or several messages come in one): the role keeps its own input buffer.
// - Bytes sent while the client's port runs at a rate other than ListenRate() never reach the
//   role (the log notes them): a real UART at another rate would only see noise. The role
//   changes its rate simply by returning another ListenRate() from then on.
// - After kIdleGap without a byte, OnIdle is called once: a real device drops a half-received
//   message after such a gap, so that the next message starts clean.
// - OnStop is called once when the simulator ends (write result files there).
// - Everything runs on the simulator's single thread; roles need no locks.
//
// What the Wire gives a role for free:
// - Reply(): sends the answer through the fault injection (--silent, --silent-first,
//   --garbage, --garbage-first, --drop with --seed) and the wire pacing (--pace), and logs it.
// - ShouldRefuse(unit): the --refuse K:T fault; true for the first T arrivals of unit K (a block
//   number, a record index). The role then answers with its own refusal.
// - UnitAccepted(): counts accepted units for --vanish-after K, after which the port disappears
//   as if the cable were pulled.
// - Log() and Report(): a line to the exchange log (for a person reading along) and a line to
//   the report (stdout unless --quiet, and the --report file).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "seriallink/TracingBackend.h"

namespace quillon_sim {

inline constexpr std::chrono::milliseconds kIdleGap{50};

class Wire {
public:
    virtual ~Wire() = default;
    // The line rate the client's end of the port is set to right now (0 when unknown).
    [[nodiscard]] virtual std::uint32_t ClientRate() const = 0;
    // Sends bytes to the client, through fault injection and pacing; note goes into the log.
    virtual void Reply(std::span<const std::uint8_t> bytes, std::string_view note) = 0;
    [[nodiscard]] virtual bool ShouldRefuse(std::uint32_t unit) = 0;
    virtual void UnitAccepted() = 0;
    virtual void Log(std::string_view text) = 0;
    virtual void Report(std::string_view text) = 0;
};

class Role {
public:
    virtual ~Role() = default;
    // Rate the role listens at now; 0 listens at any rate.
    [[nodiscard]] virtual std::uint32_t ListenRate() const = 0;
    virtual void OnReceive(std::span<const std::uint8_t> bytes, Wire& wire) = 0;
    virtual void OnIdle(Wire& wire) { (void)wire; }
    virtual void OnStop(Wire& wire) { (void)wire; }
};

// The role's own options, given on the command line as --name value (names without "--").
class RoleOptions {
public:
    std::map<std::string, std::string> values;

    [[nodiscard]] bool Has(const std::string& name) const { return values.count(name) != 0; }
    [[nodiscard]] std::string Get(const std::string& name, const std::string& fallback) const;
    // The option as a number; fallback when absent; nullopt when present but not a number.
    [[nodiscard]] std::optional<long long> GetNumber(const std::string& name,
                                                     long long fallback) const;
};

struct RoleOption {
    std::string name;      // without "--"
    std::string argument;  // e.g. "N", "FILE"; empty for a flag (value "1" when given)
    std::string help;
};

// Makes the role, or returns null with error set when an option is not acceptable.
using RoleFactory =
    std::function<std::unique_ptr<Role>(const RoleOptions& options, std::string& error)>;

struct RoleInfo {
    std::string name;
    std::string summary;
    std::vector<RoleOption> options;
    RoleFactory make;
};

// The roles a simulator can play, in the order its usage lists them.
using RoleTable = std::span<const RoleInfo>;

// "40 6E 2E": bytes as the log shows them.
using seriallink::HexDump;

// The role of that name in roles; null when there is none.
[[nodiscard]] const RoleInfo* FindRole(RoleTable roles, std::string_view name);

// The roles of this simulator (tools/sim/StoreRole.cpp, tools/sim/LoaderRole.cpp).
[[nodiscard]] RoleInfo StoreRoleInfo();
[[nodiscard]] RoleInfo LoaderRoleInfo();

}  // namespace quillon_sim
