// COM ports: which are present, how two lists of them compare, the port combo boxes, and the
// new-port scan both programs run once a second.
//
// The programs name ports "COM<n>" everywhere. On Linux a port map turns a name into a device:
// - KORVALIS_PORT_DIR set to a directory: the ports are its entries named COM<n> (any letter
//   case) that resolve, through symbolic links, to a character device; COM<n> opens that entry.
// - Otherwise the system's serial devices under /sys/class/tty that have a device behind them
//   (ttyS placeholders without a UART left out), numbered by a fixed rule (SystemPortNumber).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "seriallink/Messages.h"

namespace seriallink {

// Ascending port numbers once built.
using ComPortList = std::vector<std::uint32_t>;

inline constexpr const char* kComNameFormat = "COM%d";
inline constexpr const char* kPortDirVariable = "KORVALIS_PORT_DIR";
inline constexpr std::uint32_t kProbeLastPort = 255;

[[nodiscard]] std::string ComPortName(std::uint32_t number, const char* format = kComNameFormat);

// The number of a device name "COM<digits>" (letter case ignored): COM1 -> 1, com7 -> 7;
// COMX, COM, COM3A -> none.
[[nodiscard]] std::optional<std::uint32_t> ComNumberOfName(std::string_view name);

// Linux numbering of system serial devices: ttyS<k> -> COM<k+1> (COM1..COM32), ttyUSB<k> ->
// COM<33+k> (COM33..COM96), ttyACM<k> -> COM<97+k> (COM97..COM160), ttyAMA<k> -> COM<161+k>
// (COM161..COM176), rfcomm<k> -> COM<177+k> (COM177..COM192). Other names and indexes beyond
// their range have no number.
[[nodiscard]] std::optional<std::uint32_t> SystemPortNumber(std::string_view ttyName);

struct PortDevice {
    std::uint32_t number = 0;
    std::string device;  // the path that is opened: DIR/COM<n> or /dev/ttyXXX
};

// The present ports of the port map, in the order found (not sorted). false when the listing
// itself is not possible (unreadable port directory or /sys/class/tty).
[[nodiscard]] bool ListPortDevices(std::vector<PortDevice>& out);
// The device a port name opens through the port map; empty when the name maps to nothing. A name
// that is an absolute device path names itself.
[[nodiscard]] std::string DeviceOfPortName(std::string_view portName);

// The two enumeration methods: the device listing, and the probe of COM1..COM255.
[[nodiscard]] bool ListComDeviceNames(std::vector<std::uint32_t>& out);
[[nodiscard]] bool ProbeComPorts(std::vector<std::uint32_t>& out);
// Present ports, ascending; true when at least one. The list is emptied first.
[[nodiscard]] bool EnumerateComPorts(ComPortList& out);

// Merge walk of two ascending lists; true when added or removed is not empty.
bool ComparePortLists(const ComPortList& oldList, const ComPortList& newList, ComPortList& added,
                      ComPortList& removed, ComPortList& common);
// "COM4, COM7".
[[nodiscard]] std::string JoinPortNames(const ComPortList& ports,
                                        const char* format = kComNameFormat);

// A drop-down port list without sorting, as the dialogs show it.
class PortComboBox {
public:
    virtual ~PortComboBox() = default;
    virtual void Clear() = 0;
    virtual void AddEntry(const std::string& text) = 0;
    [[nodiscard]] virtual int Count() const = 0;
    [[nodiscard]] virtual std::string EntryText(int index) const = 0;
    [[nodiscard]] virtual int CurrentIndex() const = 0;  // -1: none
    virtual void SetCurrentIndex(int index) = 0;
};

// Empties the box and adds one entry per port; true when the list is not empty.
bool FillPortCombo(PortComboBox& combo, const ComPortList& ports,
                   const char* format = kComNameFormat);
// Selects the first entry beginning with the port's name (case ignored), else entry 0.
void SelectPortInCombo(PortComboBox& combo, std::uint32_t number,
                       const char* format = kComNameFormat);
// The platform's select-by-string: selects the first entry beginning with text (case ignored)
// and returns true; leaves the selection alone and returns false when none does.
bool SelectPrefixInCombo(PortComboBox& combo, std::string_view text);

using PortEnumerator = std::function<bool(ComPortList&)>;

// What the new-port scan needs of the dialog that runs it.
class PortScanDialog : public MessageOwner {
public:
    // The application's remembered port name (zonesend commPort, flashwizard portName).
    [[nodiscard]] virtual std::string RememberedPortName() const = 0;
};

// zonesend's main dialog.
class AirspaceScanDialog : public PortScanDialog {
public:
    virtual void EnableSendButton(bool enable) = 0;  // "Send Airspace", control 1000
};

// flashwizard's port page, with the frame's buttons.
class WizardScanDialog : public PortScanDialog {
public:
    virtual void EnableNextButton(bool enable) = 0;  // "Weiter >", 1001
    virtual void EnableBackButton(bool enable) = 0;  // "< Zurück", 1003
};

// String ids the scan uses.
namespace scan_ids {
inline constexpr unsigned kAirspaceCaption = 136;
inline constexpr unsigned kAirspaceQuestion = 137;
inline constexpr unsigned kAirspaceNotice = 138;
inline constexpr unsigned kWizardCaption = 130;
inline constexpr unsigned kWizardQuestion = 140;
inline constexpr unsigned kWizardNotice = 142;
inline constexpr unsigned kWizardNoPortsLeft = 143;
}  // namespace scan_ids

// The new-port scan, run on each tick of the dialog's 1000 ms timer. Texts come from the
// installed string table. enumerate defaults to EnumerateComPorts.
void RefreshPortCombo(AirspaceScanDialog& dialog, PortComboBox& combo, ComPortList& shownPorts,
                      const PortEnumerator& enumerate = {});
void RefreshPortCombo(WizardScanDialog& dialog, PortComboBox& combo, ComPortList& shownPorts,
                      const PortEnumerator& enumerate = {});

}  // namespace seriallink
