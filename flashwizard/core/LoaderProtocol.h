// The instrument's serial download loader (the one built into its Analog Devices
// microcontroller): identification, command packets and rate switching.
//
// Every operation blocks on the port for at most its time-outs from LoaderTiming. Nothing here
// shows a message; the callers turn the results into texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "flashwizard/core/LinkState.h"
#include "flashwizard/core/LoaderTiming.h"

namespace seriallink {
class SerialPort;
}

namespace flashwizard {

// Byte strings as the serial port takes them: any value, 0 included.
using Bytes = std::string;

inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::size_t kIdentReplyLength = 25;

// 21 5A 00 A6: "!Z", then 0x00 and 0xA6; sent raw, without packet framing.
[[nodiscard]] Bytes IdentificationRequest();

// Results of IdentifyLoader; the device search turns them into messages 154, 153 and 155.
enum IdentifyResult : int {
    kLoaderFound = 0,
    kWrongDevice = 1,
    kNoAnswer = 2,
    kCommFailure = 3,
};

// Checks a 25-byte identification reply. Returns kLoaderFound or kWrongDevice; model is set to
// 800 + the model digits when the fixed bytes are right (0 when the digits cannot be read) and
// left alone when they are not.
[[nodiscard]] IdentifyResult CheckIdentificationReply(const Bytes& reply, unsigned& model,
                                                      bool& modelRead);

// A checksummed loader packet: 07 0E N letter params checksum.
[[nodiscard]] Bytes LoaderPacket(char letter, const Bytes& params);

// The write packet for one HEX data record line (":" first, already validated). False when the
// line does not hold hex digits; the end record must never come here.
[[nodiscard]] bool RecordPacket(std::string_view line, Bytes& packet);

[[nodiscard]] Bytes ErasePacket();                  // 07 0E 01 43 BC
[[nodiscard]] Bytes RunPacket();                    // 07 0E 04 55 00 00 00 A7
[[nodiscard]] Bytes DisablePacket();                // 07 0E 02 46 FF B9
[[nodiscard]] Bytes RatePacket(RateParams params);  // 07 0E 03 42 P1 P2 checksum

// The loader operations on one port and one link state. Holds references only; the port, the
// link state and the timing outlive it.
class LoaderClient {
public:
    LoaderClient(seriallink::SerialPort& port, LinkState& link, const LoaderTiming& timing)
        : port_(port), link_(link), timing_(timing) {}

    // 0 loader found and valid; 1 wrong device; 2 no answer; 3 communication failure.
    [[nodiscard]] IdentifyResult IdentifyLoader();
    // 9600 or 115200; true when the link now runs at that rate.
    [[nodiscard]] bool SetLoaderRate(unsigned rate);
    [[nodiscard]] bool EraseProgram();
    [[nodiscard]] bool RunProgram();
    [[nodiscard]] bool DisableLoader();
    // One record packet, one exchange; true when the loader took it.
    [[nodiscard]] bool WriteRecord(const Bytes& packet);

private:
    [[nodiscard]] bool SendCommand(const Bytes& packet);
    [[nodiscard]] bool RequestIdentification(Bytes& reply);
    void Reopen(unsigned rate);

    seriallink::SerialPort& port_;
    LinkState& link_;
    const LoaderTiming& timing_;
};

}  // namespace flashwizard
