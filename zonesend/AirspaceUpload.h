// The upload of the selected airspaces to the instrument's airspace store: capacity check,
// free-space query, then the image block by block, each block acknowledged. Every outcome ends
// in exactly one message to the owner window.
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "seriallink/Messages.h"

namespace zonesend {

inline constexpr std::size_t kBlockSize = airspace::kDeviceBlockSize;      // 14
inline constexpr std::size_t kDeviceCapacity = airspace::kDeviceCapacity;  // 3192 bytes
inline constexpr std::uint8_t kFreeSpaceQuery = 'n';
inline constexpr std::uint8_t kBlockCommand = 'N';
inline constexpr std::uint8_t kLastBlockNumber = 0xF7;
inline constexpr std::uint8_t kBlockAccepted = 'Q';  // 0x51
inline constexpr int kMaxAttempts = 3;
inline constexpr std::size_t kExchangeBufferSize = 20;

enum class UploadOutcome {
    Succeeded,        // 112
    SelectionError,   // 114: the list could not report its selection
    NothingSelected,  // 107: no line selected
    NoData,           // 180: only airspaces without an encoding selected
    TooLarge,         // 111: more than 3192 bytes
    PortNotOpened,    // 106
    NoResponse,       // 105: query or a block unanswered after three attempts
    NotEnoughSpace,   // 108-110: the store has fewer free blocks than needed
};

// The string id shown for an outcome (108 for the composed free-space text).
[[nodiscard]] unsigned outcomeStringId(UploadOutcome outcome);

// The upload's two fixed times. The product keeps these values; tests may shorten them. The
// waits themselves go through the port's back end (seriallink::airspaceport::Sleep).
struct UploadTiming {
    // Pause after an exchange that failed, so that a late answer is gone before the next try.
    std::chrono::milliseconds retryPause{100};
    // How long each read of an exchange waits for the answer.
    std::chrono::milliseconds readTimeout{100};
};

// What the list reports about its selection: the records of the selected lines, in list order.
struct UploadSelection {
    bool listError = false;
    std::vector<const airspace::AirspaceRecord*> airspaces;
};

// The bytes sent: the encodings in list order, zero-padded to whole blocks. The last selected
// airspace that has bytes carries the last-airspace flag, so that the store always finds the end
// of its data even when the selection ends in airspaces without an encoding.
[[nodiscard]] std::vector<std::uint8_t> buildUploadImage(
    std::span<const airspace::AirspaceRecord* const> airspaces);

// Payload of the block frame for block k of blockCount: "N", the block number (F7 for the
// last), then the 14 bytes of block k.
[[nodiscard]] std::array<std::uint8_t, 16> blockPayload(std::span<const std::uint8_t> image,
                                                        std::size_t k, std::size_t blockCount);

// "%s %d %s %d %s" of strings 108, required, 109, free, 110 in the installed table.
[[nodiscard]] std::string composeFreeSpaceText(std::uint32_t required, std::uint32_t freeBytes);

// Runs on the process's airspace port (seriallink::airspaceport); tests put another back end
// under it with airspaceport::SetBackendFactory.
class AirspaceUpload {
public:
    // sending is the dialog's flag that keeps its port scan quiet while the port is held.
    AirspaceUpload(seriallink::MessageOwner* owner, bool& sending, UploadTiming timing = {});

    UploadOutcome run(const UploadSelection& selection, const std::string& portName,
                      std::uint32_t baudRate);

private:
    [[nodiscard]] bool queryFreeBlocks(std::uint8_t& freeBlocks);
    [[nodiscard]] bool sendBlocks(std::span<const std::uint8_t> image);
    UploadOutcome endWith(UploadOutcome outcome, bool closePort);

    seriallink::MessageOwner* owner_;
    bool& sending_;
    UploadTiming timing_;
};

}  // namespace zonesend
