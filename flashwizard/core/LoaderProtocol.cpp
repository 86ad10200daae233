#include "flashwizard/core/LoaderProtocol.h"

#include "seriallink/HexFile.h"
#include "seriallink/SerialPort.h"

namespace flashwizard {

namespace {

constexpr std::uint8_t kPacketStart1 = 0x07;
constexpr std::uint8_t kPacketStart2 = 0x0E;

constexpr char kEraseLetter = 'C';
constexpr char kWriteLetter = 'W';
constexpr char kRateLetter = 'B';
constexpr char kRunLetter = 'U';
constexpr char kDisableLetter = 'F';

// The fixed bytes of the identification reply: "ADI 8", then after the two model digits three
// blanks, "V2", and after the rest of the version CR LF.
struct FixedByte {
    std::size_t offset;
    std::uint8_t value;
};
constexpr FixedByte kIdentFixedBytes[] = {
    {0, 'A'}, {1, 'D'}, {2, 'I'},  {3, ' '},  {4, '8'},   {7, ' '},
    {8, ' '}, {9, ' '}, {10, 'V'}, {11, '2'}, {14, '\r'}, {15, '\n'},
};
constexpr std::size_t kModelDigitsOffset = 5;
constexpr std::size_t kModelDigitsLength = 2;
constexpr unsigned kModelBase = 800;

// Data record layout after HexToBytes: count, address high, address low, type, data, checksum.
constexpr std::size_t kRecordHeaderLength = 4;
constexpr std::size_t kRecordChecksumLength = 1;

std::uint8_t Byte(char c) {
    return static_cast<std::uint8_t>(c);
}

std::uint8_t NegatedSum(const Bytes& bytes, std::size_t first, std::size_t count) {
    unsigned sum = 0;
    for (std::size_t i = first; i < first + count; ++i) sum += Byte(bytes[i]);
    return static_cast<std::uint8_t>((0x100 - (sum % 0x100)) % 0x100);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the model digits as an unsigned decimal scan does: blanks first, then digits up to the
// first other character. A sign is not taken: "-1" would otherwise wrap to a huge model.
bool ScanModelDigits(const Bytes& reply, unsigned& number) {
    std::size_t i = kModelDigitsOffset;
    const std::size_t end = kModelDigitsOffset + kModelDigitsLength;
    while (i < end && IsBlank(reply[i])) ++i;
    if (i == end || reply[i] < '0' || reply[i] > '9') return false;
    number = 0;
    for (; i < end && reply[i] >= '0' && reply[i] <= '9'; ++i) {
        number = number * 10 + static_cast<unsigned>(reply[i] - '0');
    }
    return true;
}

}  // namespace

Bytes IdentificationRequest() {
    return Bytes{'\x21', '\x5A', '\x00', '\xA6'};
}

IdentifyResult CheckIdentificationReply(const Bytes& reply, unsigned& model, bool& modelRead) {
    modelRead = false;
    if (reply.size() != kIdentReplyLength) return kWrongDevice;
    for (const FixedByte& fixed : kIdentFixedBytes) {
        if (Byte(reply[fixed.offset]) != fixed.value) return kWrongDevice;
    }
    unsigned number = 0;
    if (!ScanModelDigits(reply, number)) {
        model = 0;
        return kWrongDevice;
    }
    model = kModelBase + number;
    modelRead = true;
    // The checksum byte makes the unsigned sum of all 25 bytes a multiple of 256.
    if (NegatedSum(reply, 0, kIdentReplyLength) != 0) return kWrongDevice;
    return kLoaderFound;
}

Bytes LoaderPacket(char letter, const Bytes& params) {
    Bytes packet;
    packet.reserve(params.size() + 5);
    packet.push_back(static_cast<char>(kPacketStart1));
    packet.push_back(static_cast<char>(kPacketStart2));
    packet.push_back(static_cast<char>(params.size() + 1));
    packet.push_back(letter);
    packet += params;
    // The two start bytes stay out of the checksum.
    packet.push_back(static_cast<char>(NegatedSum(packet, 2, packet.size() - 2)));
    return packet;
}

bool RecordPacket(std::string_view line, Bytes& packet) {
    if (line.empty() || line.front() != ':') return false;
    Bytes record;
    if (!seriallink::HexToBytes(line.substr(1), record)) return false;
    if (record.size() < kRecordHeaderLength + kRecordChecksumLength) return false;
    const std::size_t count = Byte(record[0]);
    if (record.size() != kRecordHeaderLength + count + kRecordChecksumLength) return false;
    Bytes params;
    params.push_back('\x00');
    params.push_back(record[1]);  // address high
    params.push_back(record[2]);  // address low
    params.append(record, kRecordHeaderLength, count);
    packet = LoaderPacket(kWriteLetter, params);
    return true;
}

Bytes ErasePacket() {
    return LoaderPacket(kEraseLetter, Bytes{});
}
Bytes RunPacket() {
    return LoaderPacket(kRunLetter, Bytes(3, '\x00'));
}
Bytes DisablePacket() {
    return LoaderPacket(kDisableLetter, Bytes(1, '\xFF'));
}
Bytes RatePacket(RateParams params) {
    return LoaderPacket(kRateLetter,
                        Bytes{static_cast<char>(params.p1), static_cast<char>(params.p2)});
}

// ---------------------------------------------------------------------------------------------

bool LoaderClient::RequestIdentification(Bytes& reply) {
    return port_.TransactUntilQuiet(IdentificationRequest(), reply, timing_.identifyQuiet);
}

void LoaderClient::Reopen(unsigned rate) {
    // Close and open in one step, so that no other program gets the port in between. A failed
    // reopen shows up as a failure of the next exchange.
    (void)port_.Reopen(rate);
    port_.Sleep(timing_.reopenSettle);
    link_.fastRate = (rate == kFastBaud);
}

IdentifyResult LoaderClient::IdentifyLoader() {
    Bytes reply;
    if (!RequestIdentification(reply)) return kCommFailure;
    if (reply.empty()) {
        if (link_.fastRate) {
            // The loader answers at the rate it listens at; after a reset that is 9600 again.
            Reopen(kSlowBaud);
            if (!RequestIdentification(reply)) {
                Reopen(kFastBaud);
                return kCommFailure;
            }
            if (reply.empty()) Reopen(kFastBaud);
        }
        if (reply.empty()) return kNoAnswer;
    }
    if (link_.fastRate) {
        // The reply came at 115200 and reset the loader to 9600: follow it there and ask again.
        Reopen(kSlowBaud);
        if (!RequestIdentification(reply)) return kCommFailure;
    }
    bool modelRead = false;
    const IdentifyResult result = CheckIdentificationReply(reply, link_.chipModel, modelRead);
    if (modelRead && link_.slowRateParams.count(link_.chipModel) != 0) link_.chipKnown = true;
    return result;
}

bool LoaderClient::SendCommand(const Bytes& packet) {
    Bytes reply;
    if (!port_.TransactFixed(packet, reply, 1, static_cast<int>(timing_.commandAttempts),
                             timing_.commandPause, timing_.commandReadTimeout)) {
        return false;
    }
    return reply.size() == 1 && Byte(reply[0]) == kAck;
}

bool LoaderClient::SetLoaderRate(unsigned rate) {
    const RateTable* table = nullptr;
    if (rate == kSlowBaud) {
        if (!link_.fastRate) return true;
        table = &link_.slowRateParams;
    } else if (rate == kFastBaud) {
        if (link_.fastRate) return true;
        table = &link_.fastRateParams;
    } else {
        return false;
    }
    // Only a known chip gets here; without parameters nothing sensible can be sent.
    const auto entry = table->find(link_.chipModel);
    if (entry == table->end()) return false;
    // The loader switches after its answer; the PC follows only then, so a refusal leaves both
    // sides at the old rate.
    if (!SendCommand(RatePacket(entry->second))) return false;
    Reopen(rate);
    return true;
}

bool LoaderClient::EraseProgram() {
    return SendCommand(ErasePacket());
}
bool LoaderClient::RunProgram() {
    return SendCommand(RunPacket());
}
bool LoaderClient::DisableLoader() {
    return SendCommand(DisablePacket());
}

bool LoaderClient::WriteRecord(const Bytes& packet) {
    Bytes reply;
    // One attempt: the download repeats a record itself, showing each repetition.
    if (!port_.TransactFixed(packet, reply, 1, 1, timing_.recordPause, timing_.recordReadTimeout)) {
        return false;
    }
    return reply.size() == 1 && Byte(reply[0]) == kAck;
}

}  // namespace flashwizard
