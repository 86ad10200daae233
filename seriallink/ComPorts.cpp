#include "seriallink/ComPorts.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace seriallink {
namespace {

[[nodiscard]] bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

[[nodiscard]] std::optional<std::uint32_t> DecimalNumber(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

struct TtyFamily {
    std::string_view prefix;
    std::uint32_t firstPort;
    std::uint32_t count;
};

// The fixed Linux numbering; each family has a range of its own, so two devices never share a
// number and a device keeps its number from run to run.
constexpr TtyFamily kTtyFamilies[] = {
    {"ttyS", 1, 32},      // COM1 .. COM32, as the PC's serial ports always were
    {"ttyUSB", 33, 64},   // COM33 .. COM96, USB serial adapters (FTDI, CP210x, ...)
    {"ttyACM", 97, 64},   // COM97 .. COM160, USB CDC-ACM devices
    {"ttyAMA", 161, 16},  // COM161 .. COM176, ARM on-chip UARTs
    {"rfcomm", 177, 16},  // COM177 .. COM192, Bluetooth serial links
};

struct ScanTexts {
    unsigned caption;
    unsigned question;
    unsigned notice;
};

// Steps 4 to 11 of the scan once the port set has changed; steps 3 and 6 differ per program
// and are done by the callers.
void SelectAfterChange(PortScanDialog& dialog, PortComboBox& combo, const ComPortList& shownPorts,
                       const std::string& previousText, const ComPortList& added,
                       const ScanTexts& texts) {
    if (shownPorts.size() == 1) {
        combo.SetCurrentIndex(0);
        return;
    }
    if (combo.Count() > 0) {
        const std::string remembered = dialog.RememberedPortName();
        const bool selected = (!previousText.empty() && SelectPrefixInCombo(combo, previousText)) ||
                              (!remembered.empty() && SelectPrefixInCombo(combo, remembered));
        if (!selected) combo.SetCurrentIndex(0);
    }
    if (added.empty()) return;
    const std::string caption = LoadString(texts.caption);
    if (added.size() == 1) {
        const MessageAnswer answer = dialog.ShowMessageBox(
            {LoadString(texts.question), caption, MessageButtons::YesNo, MessageIcon::None});
        if (answer == MessageAnswer::Yes) SelectPortInCombo(combo, added.front());
        return;
    }
    const std::string notice = FormatText(
        LoadString(texts.notice), {static_cast<long long>(added.size()), JoinPortNames(added)});
    dialog.ShowMessageBox({notice, caption, MessageButtons::Ok, MessageIcon::None});
}

[[nodiscard]] std::string CurrentEntryText(const PortComboBox& combo) {
    if (combo.Count() == 0 || combo.CurrentIndex() < 0) return {};
    return combo.EntryText(combo.CurrentIndex());
}

[[nodiscard]] ComPortList Enumerate(const PortEnumerator& enumerate) {
    ComPortList fresh;
    if (enumerate) {
        (void)enumerate(fresh);
    } else {
        (void)EnumerateComPorts(fresh);
    }
    return fresh;
}

}  // namespace

std::string ComPortName(std::uint32_t number, const char* format) {
    char name[32];
    std::snprintf(name, sizeof name, format, static_cast<int>(number));
    return name;
}

std::optional<std::uint32_t> ComNumberOfName(std::string_view name) {
    if (name.size() <= 3 || !StartsWithNoCase(name, "COM")) return std::nullopt;
    return DecimalNumber(name.substr(3));
}

std::optional<std::uint32_t> SystemPortNumber(std::string_view ttyName) {
    for (const TtyFamily& family : kTtyFamilies) {
        if (ttyName.substr(0, family.prefix.size()) != family.prefix) continue;
        std::optional<std::uint32_t> index = DecimalNumber(ttyName.substr(family.prefix.size()));
        // "ttyS01" would collide with "ttyS1": only canonical indexes count.
        const std::string_view digits = ttyName.substr(family.prefix.size());
        if (!index || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
        if (*index >= family.count) return std::nullopt;
        return family.firstPort + *index;
    }
    return std::nullopt;
}

bool EnumerateComPorts(ComPortList& out) {
    out.clear();
    std::vector<std::uint32_t> found;
    if (!ListComDeviceNames(found)) (void)ProbeComPorts(found);
    if (found.empty()) return false;
    out = std::move(found);
    std::sort(out.begin(), out.end());
    return true;
}

bool ComparePortLists(const ComPortList& oldList, const ComPortList& newList, ComPortList& added,
                      ComPortList& removed, ComPortList& common) {
    added.clear();
    removed.clear();
    common.clear();
    auto o = oldList.begin();
    auto n = newList.begin();
    while (o != oldList.end() || n != newList.end()) {
        if (o == oldList.end()) {
            added.push_back(*n++);
        } else if (n == newList.end()) {
            removed.push_back(*o++);
        } else if (*o > *n) {
            added.push_back(*n++);
        } else if (*o < *n) {
            removed.push_back(*o++);
        } else {
            common.push_back(*o);
            ++o;
            ++n;
        }
    }
    return !added.empty() || !removed.empty();
}

std::string JoinPortNames(const ComPortList& ports, const char* format) {
    std::string text;
    for (std::size_t i = 0; i < ports.size(); ++i) {
        if (i > 0) text += ", ";
        text += ComPortName(ports[i], format);
    }
    return text;
}

bool FillPortCombo(PortComboBox& combo, const ComPortList& ports, const char* format) {
    combo.Clear();
    for (std::uint32_t number : ports) combo.AddEntry(ComPortName(number, format));
    return !ports.empty();
}

bool SelectPrefixInCombo(PortComboBox& combo, std::string_view text) {
    for (int i = 0; i < combo.Count(); ++i) {
        if (StartsWithNoCase(combo.EntryText(i), text)) {
            combo.SetCurrentIndex(i);
            return true;
        }
    }
    return false;
}

void SelectPortInCombo(PortComboBox& combo, std::uint32_t number, const char* format) {
    if (!SelectPrefixInCombo(combo, ComPortName(number, format)) && combo.Count() > 0) {
        combo.SetCurrentIndex(0);
    }
}

void RefreshPortCombo(AirspaceScanDialog& dialog, PortComboBox& combo, ComPortList& shownPorts,
                      const PortEnumerator& enumerate) {
    const ComPortList fresh = Enumerate(enumerate);
    ComPortList added, removed, common;
    if (!ComparePortLists(shownPorts, fresh, added, removed, common)) {
        if (fresh.empty()) dialog.EnableSendButton(false);
        return;
    }
    const std::string previousText = CurrentEntryText(combo);
    FillPortCombo(combo, fresh);
    shownPorts = fresh;
    dialog.EnableSendButton(!shownPorts.empty());
    SelectAfterChange(
        dialog, combo, shownPorts, previousText, added,
        {scan_ids::kAirspaceCaption, scan_ids::kAirspaceQuestion, scan_ids::kAirspaceNotice});
}

void RefreshPortCombo(WizardScanDialog& dialog, PortComboBox& combo, ComPortList& shownPorts,
                      const PortEnumerator& enumerate) {
    const ComPortList fresh = Enumerate(enumerate);
    ComPortList added, removed, common;
    if (!ComparePortLists(shownPorts, fresh, added, removed, common)) return;
    const std::string previousText = CurrentEntryText(combo);
    FillPortCombo(combo, fresh);
    shownPorts = fresh;
    if (shownPorts.empty()) {
        dialog.EnableNextButton(false);
        dialog.EnableBackButton(true);
        ShowError(&dialog, scan_ids::kWizardNoPortsLeft);
        return;
    }
    dialog.EnableNextButton(true);
    dialog.EnableBackButton(false);
    SelectAfterChange(
        dialog, combo, shownPorts, previousText, added,
        {scan_ids::kWizardCaption, scan_ids::kWizardQuestion, scan_ids::kWizardNotice});
}

}  // namespace seriallink
