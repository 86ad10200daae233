#include "zonesend/AirspaceUpload.h"

#include <algorithm>

#include "seriallink/AirspacePort.h"
#include "zonesend/Strings.h"

namespace zonesend {

namespace {

namespace port = seriallink::airspaceport;

}  // namespace

unsigned outcomeStringId(UploadOutcome outcome) {
    switch (outcome) {
        case UploadOutcome::Succeeded:
            return ids::kDownloadSucceeded;
        case UploadOutcome::SelectionError:
            return ids::kSelectionError;
        case UploadOutcome::NothingSelected:
            return ids::kNoDataSelected;
        case UploadOutcome::NoData:
            return ids::kNoOutlineData;
        case UploadOutcome::TooLarge:
            return ids::kTooMuchData;
        case UploadOutcome::PortNotOpened:
            return ids::kCannotOpenPort;
        case UploadOutcome::NoResponse:
            return ids::kNoResponse;
        case UploadOutcome::NotEnoughSpace:
            return ids::kNotEnoughSpace;
    }
    return ids::kSelectionError;
}

std::vector<std::uint8_t> buildUploadImage(
    std::span<const airspace::AirspaceRecord* const> airspaces) {
    std::size_t total = 0;
    std::size_t lastWithBytes = airspaces.size();
    for (std::size_t i = 0; i < airspaces.size(); ++i) {
        const std::size_t size = airspaces[i]->encodedSize();
        total += size;
        if (size > 0) lastWithBytes = i;
    }
    const std::size_t padded = (total + kBlockSize - 1) / kBlockSize * kBlockSize;
    std::vector<std::uint8_t> image;
    image.reserve(padded);
    for (std::size_t i = 0; i < airspaces.size(); ++i) {
        const std::vector<std::uint8_t> bytes = airspaces[i]->encodedBytes(i == lastWithBytes);
        image.insert(image.end(), bytes.begin(), bytes.end());
    }
    image.resize(padded, 0);
    return image;
}

std::array<std::uint8_t, 16> blockPayload(std::span<const std::uint8_t> image, std::size_t k,
                                          std::size_t blockCount) {
    std::array<std::uint8_t, 16> payload{};
    payload[0] = kBlockCommand;
    payload[1] = k + 1 == blockCount ? kLastBlockNumber : static_cast<std::uint8_t>(k);
    const std::size_t offset = k * kBlockSize;
    for (std::size_t i = 0; i < kBlockSize && offset + i < image.size(); ++i) {
        payload[2 + i] = image[offset + i];
    }
    return payload;
}

std::string composeFreeSpaceText(std::uint32_t required, std::uint32_t freeBytes) {
    return seriallink::FormatText(
        "%s %d %s %d %s",
        {seriallink::LoadString(ids::kNotEnoughSpace), static_cast<long long>(required),
         seriallink::LoadString(ids::kBytesRequired), static_cast<long long>(freeBytes),
         seriallink::LoadString(ids::kBytesFree)});
}

AirspaceUpload::AirspaceUpload(seriallink::MessageOwner* owner, bool& sending, UploadTiming timing)
    : owner_(owner), sending_(sending), timing_(timing) {}

UploadOutcome AirspaceUpload::run(const UploadSelection& selection, const std::string& portName,
                                  std::uint32_t baudRate) {
    if (selection.listError) return endWith(UploadOutcome::SelectionError, false);
    if (selection.airspaces.empty()) return endWith(UploadOutcome::NothingSelected, false);

    std::uint32_t total = 0;
    for (const airspace::AirspaceRecord* record : selection.airspaces) {
        total += static_cast<std::uint32_t>(record->encodedSize());
    }
    // Airspaces without an encoding alone would send no block at all; calling that a success
    // would tell the pilot the instrument holds data it never received.
    if (total == 0) return endWith(UploadOutcome::NoData, false);
    if (total > kDeviceCapacity) return endWith(UploadOutcome::TooLarge, false);

    sending_ = true;
    port::SetBaudRate(baudRate);
    port::SetReadTimeout(timing_.readTimeout);
    if (!port::Open(portName)) return endWith(UploadOutcome::PortNotOpened, false);

    std::uint8_t freeBlocks = 0;
    if (!queryFreeBlocks(freeBlocks)) return endWith(UploadOutcome::NoResponse, true);
    const std::uint32_t freeBytes = static_cast<std::uint32_t>(freeBlocks) * kBlockSize;
    if (freeBytes < total) {
        seriallink::ShowErrorText(owner_, composeFreeSpaceText(total, freeBytes));
        port::Close();
        sending_ = false;
        return UploadOutcome::NotEnoughSpace;
    }

    const std::vector<std::uint8_t> image = buildUploadImage(selection.airspaces);
    if (!sendBlocks(image)) return endWith(UploadOutcome::NoResponse, true);

    port::Close();
    sending_ = false;
    seriallink::ShowSuccessText(owner_, seriallink::LoadString(ids::kDownloadSucceeded),
                                seriallink::LoadString(ids::kWindowTitle));
    return UploadOutcome::Succeeded;
}

bool AirspaceUpload::queryFreeBlocks(std::uint8_t& freeBlocks) {
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        std::array<std::uint8_t, kExchangeBufferSize> buffer{};
        buffer[0] = kFreeSpaceQuery;
        if (port::Exchange(buffer.data(), buffer.size(), 1, 1, true, true) == port::kExchangeOk) {
            freeBlocks = buffer[0];
            return true;
        }
        port::Sleep(timing_.retryPause);
    }
    return false;
}

bool AirspaceUpload::sendBlocks(std::span<const std::uint8_t> image) {
    const std::size_t blockCount = image.size() / kBlockSize;
    for (std::size_t k = 0; k < blockCount; ++k) {
        bool accepted = false;
        for (int attempt = 0; attempt < kMaxAttempts && !accepted; ++attempt) {
            // Rebuilt for every attempt: the exchange leaves the answer in the buffer.
            std::array<std::uint8_t, kExchangeBufferSize> buffer{};
            const auto payload = blockPayload(image, k, blockCount);
            std::copy(payload.begin(), payload.end(), buffer.begin());
            if (port::Exchange(buffer.data(), buffer.size(), payload.size(), 1, true, false) !=
                port::kExchangeOk) {
                port::Sleep(timing_.retryPause);
                continue;
            }
            // Any answer but "Q" is a refusal: the store is listening, so ask again at once.
            accepted = buffer[0] == kBlockAccepted;
        }
        if (!accepted) return false;
    }
    return true;
}

UploadOutcome AirspaceUpload::endWith(UploadOutcome outcome, bool closePort) {
    // The message comes first: on the failure paths the port stays held, and the scan quiet,
    // until the pilot has read it.
    seriallink::ShowError(owner_, outcomeStringId(outcome));
    if (closePort) port::Close();
    sending_ = false;
    return outcome;
}

}  // namespace zonesend
