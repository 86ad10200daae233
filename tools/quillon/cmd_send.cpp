// quillon send: zonesend's upload from the command line, with the same checks, retries and
// messages. Prints the outcome's message; exit status 0 only when every block was accepted.
#if QUILLON_HAVE_ZONESEND_CORE && QUILLON_HAVE_ZONESEND_PREVIEW

#include <charconv>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "seriallink/Messages.h"
#include "tools/quillon/command.h"
#include "zonesend/AirspaceSetupApp.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/AirspaceUpload.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/QtProfileStore.h"

namespace {

constexpr const char* kUsage =
    "usage: quillon send FILE --port COMn (--all | --select 0,3,7) [--baud B]";

// The outcome goes to standard output as the program would show it in its box.
class PrintedMessages : public seriallink::MessageOwner {
public:
    seriallink::MessageAnswer ShowMessageBox(
        const seriallink::MessageBoxRequest& request) override {
        std::cout << request.text << '\n';
        return seriallink::MessageAnswer::Ok;
    }
};

bool parseNumber(std::string_view text, long long& value) {
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    return !text.empty() && error == std::errc() && end == last;
}

// "0,3,7" into line indexes, ascending and without repeats, as a list box reports a selection.
bool parseSelection(std::string_view text, std::size_t count, std::vector<bool>& selected) {
    selected.assign(count, false);
    while (!text.empty()) {
        const auto comma = text.find(',');
        long long index = 0;
        if (!parseNumber(text.substr(0, comma), index) || index < 0 ||
            static_cast<std::size_t>(index) >= count) {
            return false;
        }
        selected[static_cast<std::size_t>(index)] = true;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
        if (text.empty()) return false;
    }
    return true;
}

int runSend(const std::vector<std::string>& args) {
    std::string file, port, selectText, baudText;
    bool all = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--port" && hasValue) {
            port = args[++i];
        } else if (args[i] == "--select" && hasValue) {
            selectText = args[++i];
        } else if (args[i] == "--baud" && hasValue) {
            baudText = args[++i];
        } else if (args[i] == "--all") {
            all = true;
        } else if (file.empty() && args[i].rfind("--", 0) != 0) {
            file = args[i];
        } else {
            return quillon::fail("unexpected argument '" + args[i] + "'\n" + kUsage, 2);
        }
    }
    if (file.empty() || port.empty() || all == !selectText.empty()) return quillon::fail(kUsage, 2);

    const seriallink::StringTable strings = zonesend::makeStringTable(seriallink::UserLanguage());
    seriallink::InstallStringTable(&strings);

    std::uint32_t baudRate = zonesend::kDefaultBaudRate;
    if (!baudText.empty()) {
        long long rate = 0;
        if (!parseNumber(baudText, rate) || !zonesend::isAcceptedBaudRate(rate)) {
            return quillon::fail(
                "--baud must be one of the rates zonesend accepts, such as "
                "57600 or 115200",
                2);
        }
        baudRate = static_cast<std::uint32_t>(rate);
    } else {
        // The rate zonesend remembers: the same profile, the same check.
        const zonesend::QtProfileStore profile(seriallink::LoadString(zonesend::ids::kCompanyName),
                                               zonesend::kProgramName);
        baudRate = zonesend::readBaudRate(profile);
    }

    const airspace::LoadResult loaded = airspace::loadAirspaceFile(file);
    if (loaded.status != airspace::LoadStatus::Ok) {
        return quillon::fail(file + ": " + zonesend::loadFailureText(loaded));
    }
    std::vector<bool> selected(loaded.records.size(), all);
    if (!all && !parseSelection(selectText, loaded.records.size(), selected)) {
        return quillon::fail("--select needs line indexes from 0 to " +
                                 std::to_string(loaded.records.size()) +
                                 " (exclusive), separated by commas",
                             2);
    }
    zonesend::UploadSelection selection;
    for (std::size_t i = 0; i < loaded.records.size(); ++i) {
        if (selected[i]) selection.airspaces.push_back(&loaded.records[i]);
    }

    PrintedMessages messages;
    bool sending = false;
    zonesend::AirspaceUpload upload(&messages, sending);
    const zonesend::UploadOutcome outcome = upload.run(selection, port, baudRate);
    seriallink::InstallStringTable(nullptr);
    return outcome == zonesend::UploadOutcome::Succeeded ? 0 : 1;
}

const quillon::CommandRegistration reg{
    "send", "send FILE --port COMn (--all | --select 0,3,7) [--baud B]",
    "Send airspaces of FILE to the Quillon as zonesend does (rate from zonesend's profile)",
    runSend};

}  // namespace

#endif  // QUILLON_HAVE_ZONESEND_CORE && QUILLON_HAVE_ZONESEND_PREVIEW
