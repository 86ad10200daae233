// quillon-sim's "store" role: the Quillon's airspace store as the upload meets it. It answers
// the framed free-block query, takes every correctly framed 14-byte block with 0x51, and when
// the block numbered F7 closes an upload, takes the received airspaces apart and reports them.
#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>

#include "seriallink/AirspacePort.h"
#include "tools/sim/Role.h"
#include "tools/sim/StoreRole.h"

#include "airspace/AirspaceFile.h"
#include "airspace/OutlineDecoder.h"

namespace quillon_sim {
namespace {

namespace frame = seriallink::airspaceport;

constexpr std::uint8_t kQuery = 'n';
constexpr std::uint8_t kBlock = 'N';
constexpr std::size_t kQueryFrame = 3;   // 40 6E 2E
constexpr std::size_t kBlockFrame = 18;  // 40 4E number, 14 data bytes, checksum
constexpr std::uint32_t kDefaultRate = 57600;

class StoreRole : public Role {
public:
    StoreRole(std::uint32_t rate, unsigned freeBlocks, bool hexDump, AirspaceNames names)
        : rate_(rate), freeBlocks_(freeBlocks), hexDump_(hexDump), names_(std::move(names)) {}

    std::uint32_t ListenRate() const override { return rate_; }

    void OnReceive(std::span<const std::uint8_t> bytes, Wire& wire) override {
        input_.insert(input_.end(), bytes.begin(), bytes.end());
        while (!input_.empty()) {
            if (input_[0] != frame::kFrameLead) {
                // The store waits for a frame's lead byte; anything else is line noise.
                const auto lead = std::find(input_.begin(), input_.end(), frame::kFrameLead);
                wire.Log("noise skipped: " +
                         HexDump({input_.data(), static_cast<std::size_t>(lead - input_.begin())}));
                input_.erase(input_.begin(), lead);
                continue;
            }
            if (input_.size() < 2) return;
            const std::size_t length = input_[1] == kQuery   ? kQueryFrame
                                       : input_[1] == kBlock ? kBlockFrame
                                                             : 0;
            if (length == 0) {
                wire.Log("unknown command " + HexDump({&input_[1], 1}) + " skipped");
                input_.erase(input_.begin());
                continue;
            }
            if (input_.size() < length) return;
            std::vector<std::uint8_t> message(input_.begin(), input_.begin() + length);
            input_.erase(input_.begin(), input_.begin() + length);
            if (length == kQueryFrame) {
                Query(message, wire);
            } else {
                Block(message, wire);
            }
        }
    }

    void OnIdle(Wire& wire) override {
        if (input_.empty()) return;
        wire.Log("incomplete frame dropped: " + HexDump(input_));
        input_.clear();
    }

private:
    void Query(const std::vector<std::uint8_t>& message, Wire& wire) {
        if (!frame::FrameValid(message)) {
            wire.Log("query with a bad checksum: no answer");
            return;
        }
        // Every upload begins with this query: blocks of an upload the PC gave up on must not
        // be taken for the beginning of the next one.
        blocks_.clear();
        lastOfFinished_.reset();
        const std::uint8_t free = static_cast<std::uint8_t>(freeBlocks_);
        wire.Reply(frame::MakeFrame({&free, 1}), "free blocks: " + std::to_string(freeBlocks_));
    }

    void Block(const std::vector<std::uint8_t>& message, Wire& wire) {
        const std::uint8_t number = message[2];
        const bool last = number == kStoreLastBlock;
        // The position in this upload: the F7 block follows the last numbered one.
        const std::uint32_t position =
            last ? (blocks_.empty() ? 0 : blocks_.rbegin()->first + 1) : number;
        if (!frame::FrameValid(message)) {
            Refuse(wire, "block " + BlockName(number) + " with a bad checksum");
            return;
        }
        if (wire.ShouldRefuse(position)) {
            Refuse(wire, "block " + BlockName(number) + " (fault)");
            return;
        }
        std::array<std::uint8_t, kStoreBlockSize> data{};
        std::copy_n(message.begin() + 3, kStoreBlockSize, data.begin());
        const std::uint8_t ack = kStoreAccepted;
        if (last && blocks_.empty() && lastOfFinished_ == data) {
            // The answer to the closing block went missing and the PC sends it again: that
            // upload is complete already, and no new one has begun.
            wire.Reply({&ack, 1}, "block F7 accepted again (repeated)");
            wire.UnitAccepted();
            return;
        }
        if (number == 0) blocks_.clear();  // a new upload always starts with block 0
        blocks_[position] = data;
        wire.Reply({&ack, 1}, "block " + BlockName(number) + " accepted");
        wire.UnitAccepted();
        if (last) {
            Finish(wire);
            lastOfFinished_ = data;
        }
    }

    void Refuse(Wire& wire, const std::string& what) {
        const std::uint8_t nak = kStoreRefused;
        wire.Reply({&nak, 1}, "refused: " + what);
    }

    // An upload is complete: report what the instrument now holds.
    void Finish(Wire& wire) {
        std::vector<std::uint8_t> image;
        for (const auto& [position, data] : blocks_)
            image.insert(image.end(), data.begin(), data.end());
        blocks_.clear();
        ++uploads_;
        for (const std::string& line : DescribeUpload(image, uploads_, &names_)) wire.Report(line);
        if (hexDump_) wire.Report("  bytes: " + HexDump(image));
    }

    [[nodiscard]] static std::string BlockName(std::uint8_t number) {
        char text[8];
        std::snprintf(text, sizeof text, "%02X", number);
        return text;
    }

    std::uint32_t rate_;
    unsigned freeBlocks_;
    bool hexDump_;
    AirspaceNames names_;
    std::vector<std::uint8_t> input_;
    std::map<std::uint32_t, std::array<std::uint8_t, kStoreBlockSize>> blocks_;
    // The closing block of the upload finished last, until the next query.
    std::optional<std::array<std::uint8_t, kStoreBlockSize>> lastOfFinished_;
    int uploads_ = 0;
};

// A coordinate in hundredths of a minute as a pilot reads it: N 46°50.00'.
[[maybe_unused]] std::string Angle(std::int32_t value, char positive, char negative) {
    const std::int64_t magnitude = value < 0 ? -std::int64_t{value} : value;
    char text[32];
    std::snprintf(text, sizeof text, "%c %lld\u00B0%02lld.%02lld'", value < 0 ? negative : positive,
                  static_cast<long long>(magnitude / 6000),
                  static_cast<long long>(magnitude % 6000 / 100),
                  static_cast<long long>(magnitude % 100));
    return text;
}

}  // namespace

bool LoadAirspaceNames(const std::string& path, AirspaceNames& out) {
    airspace::LoadResult loaded = airspace::loadAirspaceFile(path);
    if (loaded.status != airspace::LoadStatus::Ok) return false;
    for (const airspace::AirspaceRecord& record : loaded.records) {
        const std::string name = record.airspaceClass + " " + record.name;
        for (bool last : {false, true}) {
            std::vector<std::uint8_t> bytes = record.encodedBytes(last);
            if (!bytes.empty()) out.emplace(std::move(bytes), name);
        }
    }
    return true;
}

std::vector<std::string> DescribeUpload(std::span<const std::uint8_t> image, int uploadNumber,
                                        const AirspaceNames* names) {
    std::vector<std::string> lines;
    const std::size_t blocks = image.size() / kStoreBlockSize;
    lines.push_back("upload " + std::to_string(uploadNumber) + ": " + std::to_string(blocks) +
                    " block(s), " + std::to_string(image.size()) + " bytes");
    const std::vector<airspace::EncodedAirspace> found = airspace::splitEncodedAirspaces(image);
    std::size_t used = 0;
    int index = 0;
    for (const airspace::EncodedAirspace& a : found) {
        const auto points = airspace::decodeOutline(image.subspan(a.offset, a.length));
        char line[240];
        std::snprintf(line, sizeof line,
                      "  airspace %d: %zu bytes at %zu, start %s %s, %zu delta point(s), "
                      "%zu arc(s)%s, %zu outline point(s)%s%s",
                      ++index, a.length, a.offset, Angle(a.start.lat, 'N', 'S').c_str(),
                      Angle(a.start.lon, 'E', 'W').c_str(), a.deltaPoints, a.arcCommands,
                      a.circle ? ", circle" : "", points.size(), a.lastAirspace ? ", last" : "",
                      a.complete ? "" : ", INCOMPLETE");
        std::string text = line;
        if (names != nullptr) {
            const std::span<const std::uint8_t> bytes = image.subspan(a.offset, a.length);
            auto found = names->find(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
            if (found != names->end()) text += ": " + found->second;
        }
        lines.push_back(text);
        used = a.offset + a.length;
    }
    lines.push_back("  " + std::to_string(found.size()) + " airspace(s), " + std::to_string(used) +
                    " bytes of airspace data, " + std::to_string(image.size() - used) +
                    " bytes of padding");
    return lines;
}

RoleInfo StoreRoleInfo() {
    return {
        "store",
        "the airspace store of the Quillon",
        {
            {"free", "N", "free 14-byte blocks to report, 0..255 (default 228)"},
            {"baud", "RATE", "rate the store listens at, 0 for any (default 57600)"},
            {"dump", "", "also report the received bytes in hex"},
            {"names", "FILE", "name the received airspaces after this OpenAir file's"},
        },
        [](const RoleOptions& options, std::string& error) -> std::unique_ptr<Role> {
            const auto free = options.GetNumber("free", kStoreCapacityBlocks);
            if (!free || *free < 0 || *free > 255) {
                error = "--free must be a number from 0 to 255";
                return nullptr;
            }
            const auto rate = options.GetNumber("baud", kDefaultRate);
            if (!rate || *rate < 0 || *rate > 4000000) {
                error = "--baud must be a line rate, or 0 for any";
                return nullptr;
            }
            AirspaceNames names;
            if (options.Has("names") && !LoadAirspaceNames(options.Get("names", ""), names)) {
                error = "--names: cannot read airspaces from " + options.Get("names", "");
                return nullptr;
            }
            return std::make_unique<StoreRole>(static_cast<std::uint32_t>(*rate),
                                               static_cast<unsigned>(*free), options.Has("dump"),
                                               std::move(names));
        },
    };
}

}  // namespace quillon_sim
