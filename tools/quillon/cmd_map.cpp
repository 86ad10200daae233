// quillon map: the map of a selection, as zonesend's preview area shows it, into a PNG file.
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "airspace/AirspaceFile.h"
#include "airspace/Selection.h"
#include "seriallink/Messages.h"
#include "tools/quillon/command.h"
#include "tools/quillon/image_output.h"
#include "tools/quillon/selection_options.h"
#include "tools/quillon/texts.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/MapLayout.h"
#include "zonesend/SelectionPanelLogic.h"
#include "zonesend/Strings.h"

namespace {

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
constexpr int kFontPixels = 12;

int runMap(const std::vector<std::string>& args) {
    static const std::string kUsage =
        "usage: quillon map FILE... [selection options] -o OUT.png [--size WxH]";
    std::vector<std::string> files;
    std::string out;
    int width = kDefaultWidth, height = kDefaultHeight;
    quillon::SelectionOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string error;
        switch (quillon::readSelectionOption(args, i, options, error)) {
            case quillon::OptionRead::Taken:
                continue;
            case quillon::OptionRead::Bad:
                return quillon::usageError("map", error);
            case quillon::OptionRead::NotMine:
                break;
        }
        if ((args[i] == "-o" || args[i] == "--output") && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--size" && i + 1 < args.size()) {
            if (!quillon::parseImageSize(args[++i], width, height)) {
                return quillon::usageError("map", "--size needs WxH, each from 1 to 8000");
            }
        } else if (args[i].rfind("--", 0) != 0) {
            files.push_back(args[i]);
        } else {
            return quillon::usageError("map", "unexpected argument '" + args[i] + "'\n" + kUsage);
        }
    }
    if (files.empty() || out.empty()) return quillon::usageError("map", kUsage);
    quillon::ImageFormat format = quillon::ImageFormat::Png;
    if (!quillon::imageFormatOf(out, format)) {
        return quillon::usageError("map", quillon::imageFormatRefusal(out));
    }

    const seriallink::StringTable strings = zonesend::makeStringTable(seriallink::UserLanguage());
    seriallink::InstallStringTable(&strings);
    airspace::FilesLoadResult loaded = airspace::loadAirspaceFiles(files);
    if (loaded.status != airspace::LoadStatus::Ok) {
        airspace::LoadResult failed;
        failed.status = loaded.status;
        failed.systemErrorText = loaded.systemErrorText;
        return quillon::fail(files[loaded.failedFile] + ": " + zonesend::loadFailureText(failed));
    }
    // Simplified in place: the map shows the outlines as they would be sent.
    const quillon::SelectionOutcome outcome = quillon::applySelection(loaded.records, options);

    zonesend::MapRequest request;
    request.takeOff = options.criteria.near;
    request.radiusKm = options.criteria.near ? options.criteria.radiusKm : 0.0;
    for (const std::size_t index : outcome.fit.selected) {
        request.airspaces.push_back(&loaded.records[index]);
    }
    request.caption = std::to_string(outcome.fit.selected.size()) + " airspaces, " +
                      std::to_string(outcome.fit.bytes) + " bytes, " +
                      std::to_string(outcome.fit.blocks()) + " blocks";

    const quillon::DrawingSession session;
    const bool written = quillon::writeMapImage(out, format, request, width, height, kFontPixels);
    if (!written) return quillon::fail("cannot write " + out);
    if (!quillon::settings().quiet()) {
        std::cout << out << ": " << outcome.fit.selected.size() << " of " << outcome.matches.size()
                  << " matching airspace(s), " << outcome.fit.bytes << " bytes\n";
    }
    return 0;
}

}  // namespace

namespace {

std::vector<quillon::OptionHelp> withSelectionHelp(std::vector<quillon::OptionHelp> own) {
    const std::vector<quillon::OptionHelp> shared = quillon::selectionOptionHelp();
    own.insert(own.begin(), shared.begin(), shared.end());
    return own;
}

}  // namespace

quillon::Command quillon::mapCommand() {
    return {
        "map",
        "map FILE... [selection options] -o OUT.png [--size WxH]",
        text("Draw the airspaces of FILE that the selection options choose on a map, as "
             "zonesend shows the selection, into a PNG or SVG",
             "Die mit den Auswahloptionen gewählten Lufträume der DATEI wie zonesend auf "
             "einer Karte in ein PNG oder SVG zeichnen"),
        runMap,
        withSelectionHelp(
            {{"-o, --output OUT", text("the file to write: OUT.png, or OUT.svg for a vector "
                                       "drawing",
                                       "die zu schreibende Datei: OUT.png, oder OUT.svg als "
                                       "Vektorgrafik")},
             {"--size WxH", text("the picture's size in pixels (default 800x600, at most 8000)",
                                 "die Bildgröße in Pixeln (Vorgabe 800x600, höchstens 8000)")}}),
        {"quillon map alps.txt --near 46.7N,7.6E --radius 50km --fit -o near.png"}};
}
