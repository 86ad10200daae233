// quillon-sim's "loader" role: the serial download loader of the instrument's microcontroller.
#include "tools/sim/LoaderRole.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

namespace quillon_sim {

namespace {

constexpr std::uint32_t kPowerUpRate = 9600;
constexpr std::uint32_t kFastRate = 115200;

constexpr std::uint8_t kIdentRequest[] = {0x21, 0x5A, 0x00, 0xA6};
constexpr std::uint8_t kPacketStart1 = 0x07;
constexpr std::uint8_t kPacketStart2 = 0x0E;
constexpr std::size_t kPacketOverhead = 4;  // two start bytes, N, checksum

constexpr std::uint8_t kErase = 'C';
constexpr std::uint8_t kWrite = 'W';
constexpr std::uint8_t kRate = 'B';
constexpr std::uint8_t kRun = 'U';
constexpr std::uint8_t kDisable = 'F';

constexpr unsigned kDefaultModel = 832;
constexpr std::size_t kHexRecordMax = 16;

std::string HexBytes(const std::uint8_t* data, std::size_t count) {
    std::string text;
    char pair[4];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(pair, sizeof pair, i == 0 ? "%02X" : " %02X", data[i]);
        text += pair;
    }
    return text;
}

class LoaderRole : public Role {
public:
    LoaderRole(unsigned model, std::string imagePath, Rewrite rewrite)
        : model_(model),
          rates_(LoaderRatesOfModel(model)),
          imagePath_(std::move(imagePath)),
          rewrite_(rewrite),
          memory_(rewrite) {}

    std::uint32_t ListenRate() const override { return listenRate_; }

    void OnReceive(std::span<const std::uint8_t> bytes, Wire& wire) override {
        if (running_) {
            // The new program owns the line now; it does not speak the loader's protocol.
            wire.Log("program running: " + std::to_string(bytes.size()) + " byte(s) ignored");
            return;
        }
        input_.insert(input_.end(), bytes.begin(), bytes.end());
        while (!input_.empty() && !running_) {
            const std::size_t used = TakeMessage(wire);
            if (used == 0) return;  // wait for the rest
            input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(used));
        }
        input_.clear();
    }

    void OnIdle(Wire& wire) override {
        if (input_.empty()) return;
        wire.Log("dropped an incomplete message: " + HexBytes(input_.data(), input_.size()));
        input_.clear();
    }

    void OnStop(Wire& wire) override { WriteImage(wire); }

private:
    // Handles the message at the start of the input; returns the bytes it used, 0 when the
    // message is not complete yet.
    std::size_t TakeMessage(Wire& wire) {
        if (input_[0] == kIdentRequest[0]) {
            if (input_.size() < sizeof kIdentRequest) return 0;
            if (std::equal(std::begin(kIdentRequest), std::end(kIdentRequest), input_.begin())) {
                Identify(wire);
                return sizeof kIdentRequest;
            }
        } else if (input_[0] == kPacketStart1) {
            if (input_.size() < 3) return 0;
            if (input_[1] == kPacketStart2 && input_[2] != 0) {
                const std::size_t length = input_[2] + kPacketOverhead;
                if (input_.size() < length) return 0;
                Packet(wire, length);
                return length;
            }
        }
        wire.Log("noise byte " + HexBytes(input_.data(), 1) + " skipped");
        return 1;
    }

    void Identify(Wire& wire) {
        const std::vector<std::uint8_t> reply = LoaderIdentReply(model_);
        wire.Reply(reply, "identification ADI " + std::to_string(model_));
        wire.Report("identify " + std::to_string(model_) + " at " + std::to_string(listenRate_));
        // An identification resets the loader: it forgets a rate switch.
        listenRate_ = kPowerUpRate;
    }

    void Packet(Wire& wire, std::size_t length) {
        const std::uint8_t n = input_[2];
        unsigned sum = 0;
        for (std::size_t i = 2; i < length; ++i) sum += input_[i];
        if (sum % 0x100 != 0) {
            Refuse(wire, "bad checksum in " + HexBytes(input_.data(), length));
            return;
        }
        const std::uint8_t letter = input_[3];
        const std::uint8_t* params = input_.data() + 4;
        const std::size_t paramCount = n - 1u;
        switch (letter) {
            case kErase:
                if (paramCount != 0) break;
                memory_.Erase();
                recordsSinceErase_ = 0;
                Accept(wire, "erase");
                return;
            case kWrite:
                if (paramCount < 3 || params[0] != 0x00) break;
                WriteRecord(wire, params, paramCount);
                return;
            case kRate:
                if (paramCount != 2) break;
                SwitchRate(wire, params);
                return;
            case kRun:
                if (paramCount != 3 || params[0] != 0 || params[1] != 0 || params[2] != 0) break;
                // The image is on disk before the client hears that its program started.
                WriteImage(wire);
                Accept(wire, "start");
                running_ = true;
                return;
            case kDisable:
                if (paramCount != 1 || params[0] != 0xFF) break;
                Accept(wire, "deactivate");
                return;
            default:
                break;
        }
        Refuse(wire, "unknown command " + HexBytes(input_.data(), length));
    }

    void WriteRecord(Wire& wire, const std::uint8_t* params, std::size_t paramCount) {
        const std::uint16_t address = static_cast<std::uint16_t>(params[1] << 8 | params[2]);
        const std::size_t count = paramCount - 3;
        const std::uint32_t unit = recordsSinceErase_ + 1;
        char where[48];
        std::snprintf(where, sizeof where, "record %u at %04X, %zu byte(s)", unit, address, count);
        if (address + count > kLoaderMemorySize) {
            Refuse(wire, std::string(where) + " beyond the memory");
            return;
        }
        if (wire.ShouldRefuse(unit)) {
            Refuse(wire, std::string(where) + " (fault)");
            return;
        }
        if (!memory_.Write(address, params + 3, count)) {
            Refuse(wire, std::string(where) + (rewrite_ == Rewrite::Strict
                                                   ? " over bytes not erased"
                                                   : " does not verify: bits not erased"));
            return;
        }
        ++recordsSinceErase_;
        Accept(wire, std::string("write ") + where);
        wire.UnitAccepted();
    }

    void SwitchRate(Wire& wire, const std::uint8_t* params) {
        const std::string asked = HexBytes(params, 2);
        if (rates_ && params[0] == rates_->fast[0] && params[1] == rates_->fast[1]) {
            Accept(wire, "rate 115200 (" + asked + ")");
            listenRate_ = kFastRate;  // the answer still went out at the old rate
            return;
        }
        if (rates_ && params[0] == rates_->slow[0] && params[1] == rates_->slow[1]) {
            Accept(wire, "rate 9600 (" + asked + ")");
            listenRate_ = kPowerUpRate;
            return;
        }
        Refuse(wire, "rate parameters " + asked + " not for model " + std::to_string(model_));
    }

    // Reports name the rate the command came at: a client that forgets to follow a rate switch
    // shows up as commands that never arrive.
    void Accept(Wire& wire, const std::string& what) {
        const std::uint8_t ack = kLoaderAck;
        const std::string rate = " (" + std::to_string(listenRate_) + " baud)";
        wire.Reply(std::span(&ack, 1), what);
        wire.Report(what + rate);
    }

    void Refuse(Wire& wire, const std::string& why) {
        const std::uint8_t nak = kLoaderNak;
        wire.Reply(std::span(&nak, 1), "refused: " + why);
        wire.Report("refused " + why);
    }

    void WriteImage(Wire& wire) {
        if (imagePath_.empty()) return;
        std::ofstream out(imagePath_, std::ios::trunc);
        for (const std::string& line : memory_.HexLines()) out << line << "\r\n";
        out.close();
        if (!out) wire.Log("could not write the image to " + imagePath_);
    }

    unsigned model_;
    std::optional<LoaderRates> rates_;
    std::string imagePath_;
    Rewrite rewrite_;
    std::uint32_t listenRate_ = kPowerUpRate;
    std::vector<std::uint8_t> input_;
    LoaderMemory memory_;
    std::uint32_t recordsSinceErase_ = 0;
    bool running_ = false;
};

}  // namespace

std::vector<std::uint8_t> LoaderIdentReply(unsigned model) {
    char text[17];
    std::snprintf(text, sizeof text, "ADI 8%02u   V2.1\r\n", model % 100);
    std::vector<std::uint8_t> reply(text, text + 16);
    // The loader's further data: the chip's page and memory layout. Bytes of 0x80 and above
    // are on purpose: the checksum is a sum of unsigned bytes.
    for (std::uint8_t b : {0x00, 0x08, 0x00, 0x00, 0xE0, 0x00, 0x81, 0xF3}) reply.push_back(b);
    unsigned sum = 0;
    for (std::uint8_t b : reply) sum += b;
    reply.push_back(static_cast<std::uint8_t>((0x100 - sum % 0x100) % 0x100));
    return reply;
}

std::optional<LoaderRates> LoaderRatesOfModel(unsigned model) {
    switch (model) {
        case 831:
            return LoaderRates{{0x85, 0x08}, {0x81, 0x20}};
        case 832:
        case 842:
            return LoaderRates{{0x85, 0x2D}, {0x82, 0x09}};
        default:
            return std::nullopt;
    }
}

LoaderMemory::LoaderMemory(Rewrite rewrite)
    : rewrite_(rewrite), bytes_(kLoaderMemorySize, 0xFF), written_(kLoaderMemorySize) {}

void LoaderMemory::Erase() {
    std::fill(bytes_.begin(), bytes_.end(), 0xFF);
    std::fill(written_.begin(), written_.end(), false);
}

bool LoaderMemory::Write(std::uint16_t address, const std::uint8_t* data, std::size_t count) {
    if (address + count > kLoaderMemorySize) return false;
    if (rewrite_ == Rewrite::Strict) {
        for (std::size_t i = 0; i < count; ++i) {
            if (written_[address + i]) return false;
        }
    }
    bool holdsData = true;
    for (std::size_t i = 0; i < count; ++i) {
        // An erased byte holds 0xFF, so a first write stores the data as it is.
        bytes_[address + i] &= data[i];
        written_[address + i] = true;
        holdsData = holdsData && bytes_[address + i] == data[i];
    }
    return holdsData;
}

std::size_t LoaderMemory::WrittenCount() const {
    return static_cast<std::size_t>(std::count(written_.begin(), written_.end(), true));
}

std::vector<std::string> LoaderMemory::HexLines() const {
    std::vector<std::string> lines;
    std::size_t address = 0;
    while (address < kLoaderMemorySize) {
        if (!written_[address]) {
            ++address;
            continue;
        }
        // A record ends at a gap, after 16 bytes, or at a 16-byte boundary.
        std::size_t end = address + 1;
        while (end < kLoaderMemorySize && written_[end] && end - address < kHexRecordMax &&
               end % kHexRecordMax != 0) {
            ++end;
        }
        const std::size_t count = end - address;
        char head[24];
        std::snprintf(head, sizeof head, ":%02zX%04zX00", count, address);
        std::string line = head;
        unsigned sum = static_cast<unsigned>(count + (address >> 8) + (address & 0xFF));
        for (std::size_t i = address; i < end; ++i) {
            char pair[3];
            std::snprintf(pair, sizeof pair, "%02X", bytes_[i]);
            line += pair;
            sum += bytes_[i];
        }
        char checksum[3];
        std::snprintf(checksum, sizeof checksum, "%02X", (0x100 - sum % 0x100) % 0x100);
        line += checksum;
        lines.push_back(line);
        address = end;
    }
    lines.emplace_back(":00000001FF");
    return lines;
}

RoleInfo LoaderRoleInfo() {
    return {
        "loader",
        "the serial download loader of the Quillon's microcontroller",
        {
            {"model", "N", "chip model 800..899 to identify as (default 832; 831, 842 have rates)"},
            {"image", "FILE", "write the program memory as Intel HEX here on start and on exit"},
            {"strict-rewrite", "",
             "refuse any write over bytes written since the last erase, even the same bytes "
             "(by default a write is programmed as flash is, and accepted when it verifies)"},
        },
        [](const RoleOptions& options, std::string& error) -> std::unique_ptr<Role> {
            const auto model = options.GetNumber("model", kDefaultModel);
            if (!model || *model < 800 || *model > 899) {
                error = "--model must be a number from 800 to 899";
                return nullptr;
            }
            return std::make_unique<LoaderRole>(
                static_cast<unsigned>(*model), options.Get("image", ""),
                options.Has("strict-rewrite") ? Rewrite::Strict : Rewrite::FlashLike);
        },
    };
}

}  // namespace quillon_sim
