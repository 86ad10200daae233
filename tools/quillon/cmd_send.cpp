// quillon send: zonesend's upload from the command line, with the same checks, retries and
// messages. Prints the outcome's message; exit status 0 only when every block was accepted.

#include <charconv>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "airspace/AirspaceFile.h"
#include "seriallink/AirspacePort.h"
#include "seriallink/Messages.h"
#include "tools/quillon/command.h"
#include "tools/quillon/input.h"
#include "tools/quillon/json.h"
#include "tools/quillon/ports.h"
#include "tools/quillon/profile.h"
#include "tools/quillon/selection_options.h"
#include "tools/quillon/texts.h"
#include "zonesend/AirspaceSetupApp.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/AirspaceUpload.h"
#include "zonesend/Strings.h"

namespace {

constexpr const char* kUsage =
    "usage: quillon send FILE... --port NAME (--all | --select 0,3,7 | selection options) "
    "[--simplify 100m|auto[:MAX]] [--clip [MARGIN]] [--baud B]";

// The outcome goes to standard output as the program would show it in its box (with --json, into
// the document instead).
class PrintedMessages : public seriallink::MessageOwner {
public:
    seriallink::MessageAnswer ShowMessageBox(
        const seriallink::MessageBoxRequest& request) override {
        if (!quillon::settings().json) std::cout << request.text << '\n';
        last = request.text;
        return seriallink::MessageAnswer::Ok;
    }
    std::string last;
};

const char* outcomeKey(zonesend::UploadOutcome outcome) {
    using zonesend::UploadOutcome;
    switch (outcome) {
        case UploadOutcome::Succeeded:
            return "succeeded";
        case UploadOutcome::SelectionError:
            return "selection-error";
        case UploadOutcome::NothingSelected:
            return "nothing-selected";
        case UploadOutcome::NoData:
            return "no-data";
        case UploadOutcome::TooLarge:
            return "too-large";
        case UploadOutcome::PortNotOpened:
            return "port-not-opened";
        case UploadOutcome::NoResponse:
            return "no-response";
        case UploadOutcome::NotEnoughSpace:
            return "not-enough-space";
    }
    return "unknown";
}

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
    std::vector<std::string> files;
    std::string given, selectText, baudText;
    bool all = false;
    quillon::SelectionOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        std::string optionError;
        const quillon::OptionRead read =
            quillon::readSelectionOption(args, i, options, optionError);
        if (read == quillon::OptionRead::Bad) return quillon::usageError("send", optionError);
        if (read == quillon::OptionRead::Taken) continue;
        if (args[i] == "--port" && hasValue) {
            given = args[++i];
        } else if (args[i] == "--select" && hasValue) {
            selectText = args[++i];
        } else if (args[i] == "--baud" && hasValue) {
            baudText = args[++i];
        } else if (args[i] == "--all") {
            all = true;
        } else if (args[i].rfind("--", 0) != 0) {
            files.push_back(args[i]);
        } else {
            return quillon::fail("unexpected argument '" + args[i] + "'\n" + kUsage, 2);
        }
    }
    // Exactly one way to choose: every airspace, the listed ones, or the selection options.
    // Auto tolerance and cutting belong to the fit's plan, which only the selection options make.
    const int ways = (all ? 1 : 0) + (selectText.empty() ? 0 : 1) + (options.choosing() ? 1 : 0);
    if (files.empty() || given.empty() || ways != 1 || (options.planned() && !options.choosing())) {
        return quillon::usageError("send", kUsage);
    }
    std::string port;
    if (!quillon::resolvePortArgument(given, port)) {
        return quillon::usageError("send", quillon::portArgumentRefusal());
    }

    const seriallink::StringTable strings = zonesend::makeStringTable(quillon::language());
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
        baudRate = zonesend::readBaudRate(*quillon::openZonesendProfile());
    }

    airspace::FilesLoadResult loaded = airspace::loadAirspaceFiles(files);
    if (loaded.status != airspace::LoadStatus::Ok) {
        airspace::LoadResult failed;
        failed.status = loaded.status;
        failed.systemErrorText = loaded.systemErrorText;
        return quillon::fail(files[loaded.failedFile] + ": " + zonesend::loadFailureText(failed));
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (loaded.counts[i] == 0) quillon::warnNoAirspace(files[i]);
    }
    std::vector<bool> selected(loaded.records.size(), all);
    if (!selectText.empty() && !parseSelection(selectText, loaded.records.size(), selected)) {
        return quillon::fail("--select needs line indexes from 0 to " +
                                 std::to_string(loaded.records.size()) +
                                 " (exclusive), separated by commas",
                             2);
    }
    std::vector<airspace::AirspaceRecord>& records = loaded.records;
    zonesend::UploadSelection selection;
    airspace::FitPlan plan;
    if (options.choosing()) {
        const std::string problem = quillon::selectionOptionsProblem(options, records.size());
        if (!problem.empty()) return quillon::usageError("send", problem);
        // Exactly the plan's outlines: simplified, cut, and an identical one only once.
        plan = quillon::planSelection(records, options);
        for (const auto& outline : plan.outlines) selection.airspaces.push_back(&outline.record);
    } else {
        // The same simplification as select's, so that its sizes are the ones sent.
        std::vector<std::size_t> chosen;
        for (std::size_t i = 0; i < selected.size(); ++i) {
            if (selected[i]) chosen.push_back(i);
        }
        quillon::simplifyRecords(records, chosen, options.simplifyMetres);
        for (const std::size_t i : chosen) selection.airspaces.push_back(&records[i]);
    }

    PrintedMessages messages;
    bool sending = false;
    zonesend::AirspaceUpload upload(&messages, sending);
    const zonesend::UploadOutcome outcome = upload.run(selection, port, baudRate);
    seriallink::InstallStringTable(nullptr);
    if (outcome == zonesend::UploadOutcome::PortNotOpened) {
        (void)quillon::fail(
            quillon::openFailureText(given, port, seriallink::airspaceport::LastOpenStatus()));
    }
    if (quillon::settings().json) {
        quillon::JsonWriter json(std::cout);
        json.beginObject().key("file").value(files[0]).key("port").value(port);
        // Airspaces chosen, and the outlines that carried them (pieces, shared ones once).
        json.key("baud").value(baudRate).key("airspaces");
        json.value(options.choosing() ? plan.selected.size() : selection.airspaces.size());
        json.key("outlines").value(selection.airspaces.size());
        json.key("ok").value(outcome == zonesend::UploadOutcome::Succeeded);
        json.key("outcome").value(outcomeKey(outcome)).key("message").value(messages.last);
        json.endObject();
    }
    return outcome == zonesend::UploadOutcome::Succeeded ? quillon::kExitOk : quillon::kExitFailure;
}

std::vector<quillon::OptionHelp> sendOptionHelp() {
    using quillon::text;
    std::vector<quillon::OptionHelp> help = {
        {"--port NAME", quillon::portOptionHelp()},
        {"--all", text("send every airspace of FILE", "alle Lufträume der DATEI senden",
                       "envoyer tous les espaces aériens de FICHIER")},
        {"--select 0,3,7", text("send these lines of quillon list (0 = first)",
                                "diese Zeilen von quillon list senden (0 = erste)",
                                "envoyer ces lignes de quillon list (0 = la première)")},
        {"--baud B", text("the line rate, instead of zonesend's remembered one",
                          "die Übertragungsrate statt der von zonesend gemerkten",
                          "la vitesse de la liaison, au lieu de celle retenue par zonesend")}};
    for (auto& option : quillon::selectionOptionHelp()) help.push_back(std::move(option));
    return help;
}

}  // namespace

quillon::Command quillon::sendCommand() {
    return {
        "send",
        "send FILE... --port NAME (--all | --select 0,3,7 | --near LAT,LON ... as select) "
        "[--simplify 100m|auto[:MAX]] [--clip [MARGIN]] [--baud B]",
        text("Send airspaces of FILE to the Quillon as zonesend does (rate from zonesend's "
             "profile)",
             "Lufträume aus DATEI wie zonesend an den Quillon senden (Rate aus dem Profil "
             "von zonesend)",
             "Envoyer des espaces aériens de FICHIER au Quillon comme zonesend (vitesse du profil "
             "de zonesend)"),
        runSend,
        sendOptionHelp(),
        {"quillon send alps.txt --port COM33 --all",
         "quillon send alps.txt --port /dev/ttyUSB0 --select 0,3,7 --json",
         "quillon send alps.txt --port COM33 --near 46.7,7.6 --below FL100 --fit --simplify 100m",
         "quillon send alps.txt --port COM33 --near 46.7,7.6 --fit --simplify auto --clip"},
        Json::Yes};
}
