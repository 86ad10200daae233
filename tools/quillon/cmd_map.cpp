// quillon map: the map of a selection, as zonesend's preview area shows it, into a PNG file.
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "airspace/AirspaceFile.h"
#include "airspace/Clip.h"
#include "airspace/FitPlan.h"
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

// The plan as the map draws it: each selected airspace under its own name, its outlines as sent
// over the file's own where they differ (simplified or cut); one that shares another's identical
// outline shows that one's.
std::vector<zonesend::MapAirspace> mapAirspacesOf(
    const std::vector<airspace::AirspaceRecord>& records, const airspace::FitPlan& plan) {
    std::vector<zonesend::MapAirspace> airspaces;
    for (const airspace::PlannedAirspace& planned : plan.airspaces) {
        if (!planned.selected) continue;
        zonesend::MapAirspace airspace(&records[planned.index]);
        const std::size_t source = planned.sharedWith.value_or(planned.index);
        const airspace::PlannedAirspace* owner = plan.find(source);
        const bool changed = owner != nullptr && (owner->toleranceMetres > 0.0 || owner->clipped);
        if (changed) {
            airspace.original = &records[planned.index];
            for (const airspace::SentOutline& outline : plan.outlines) {
                if (outline.index == source)
                    airspace.sent.push_back({&outline.record, outline.cutEdges});
            }
        }
        airspaces.push_back(std::move(airspace));
    }
    return airspaces;
}

int runMap(const std::vector<std::string>& args) {
    static const std::string kUsage =
        "usage: quillon map FILE... [selection options] -o OUT.png [--size WxH] "
        "[--frame radius|selection]";
    std::vector<std::string> files;
    std::string out;
    std::optional<zonesend::MapFrame> frame;
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
        } else if (args[i] == "--frame" && i + 1 < args.size()) {
            const std::string& value = args[++i];
            if (value == "radius") {
                frame = zonesend::MapFrame::Radius;
            } else if (value == "selection") {
                frame = zonesend::MapFrame::Selection;
            } else {
                return quillon::usageError("map", "--frame needs radius or selection");
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

    const seriallink::StringTable strings = zonesend::makeStringTable(quillon::language());
    seriallink::InstallStringTable(&strings);
    airspace::FilesLoadResult loaded = airspace::loadAirspaceFiles(files);
    if (loaded.status != airspace::LoadStatus::Ok) {
        airspace::LoadResult failed;
        failed.status = loaded.status;
        failed.systemErrorText = loaded.systemErrorText;
        return quillon::fail(files[loaded.failedFile] + ": " + zonesend::loadFailureText(failed));
    }
    const std::string problem = quillon::selectionOptionsProblem(options, loaded.records.size());
    if (!problem.empty()) return quillon::usageError("map", problem);
    // The map shows the outlines as they would be sent: simplified, cut, a shared one once.
    const airspace::FitPlan plan = quillon::planSelection(loaded.records, options);

    zonesend::MapRequest request;
    request.takeOff = options.criteria.near;
    request.radiusKm = options.criteria.near ? options.criteria.radiusKm : 0.0;
    request.marginKm =
        options.criteria.near
            ? options.clipMarginKm.value_or(airspace::defaultClipMarginKm(request.radiusKm))
            : 0.0;
    // Around a take-off the map frames its radius; without one, the whole selection.
    request.view.frame = frame.value_or(options.criteria.near ? zonesend::MapFrame::Radius
                                                              : zonesend::MapFrame::Selection);
    request.airspaces = mapAirspacesOf(loaded.records, plan);
    request.caption = std::to_string(plan.selected.size()) + " airspaces, " +
                      std::to_string(plan.bytes) + " bytes, " + std::to_string(plan.blocks()) +
                      " blocks";

    const quillon::DrawingSession session;
    const bool written = quillon::writeMapImage(out, format, request, width, height, kFontPixels);
    if (!written) return quillon::fail("cannot write " + out);
    if (!quillon::settings().quiet()) {
        std::cout << out << ": " << plan.selected.size() << " of " << plan.matched
                  << " matching airspace(s), " << plan.bytes << " bytes\n";
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
        "map FILE... [selection options] -o OUT.png [--size WxH] [--frame radius|selection]",
        text("Draw the airspaces of FILE that the selection options choose on a map, as "
             "zonesend shows the selection, into a ",
             "Die mit den Auswahloptionen gewählten Lufträume der DATEI wie zonesend auf "
             "einer Karte in ein ",
             "Dessiner sur une carte les espaces aériens de FICHIER choisis par les options de "
             "sélection, comme zonesend montre la sélection, en ") +
            imageKindsText() + text("", " zeichnen", ""),
        runMap,
        withSelectionHelp(
            {{"-o, --output OUT", outputOptionHelp()},
             {"--size WxH", text("the picture's size in pixels (default 800x600, at most 8000)",
                                 "die Bildgröße in Pixeln (Vorgabe 800x600, höchstens 8000)",
                                 "la taille de l'image en pixels (800x600 par défaut, 8000 au "
                                 "plus)")},
             {"--frame radius|selection",
              text("what the map frames: the take-off's radius and its margin (the default with "
                   "--near), or every selected outline",
                   "was die Karte einrahmt: den Umkreis des Startplatzes mit seinem Rand (Vorgabe "
                   "mit --near) oder alle gewählten Umrisse",
                   "ce que la carte cadre : le rayon autour du décollage et sa marge (par défaut "
                   "avec --near), ou tous les contours choisis")}}),
        {"quillon map alps.txt --near 46.7N,7.6E --radius 50km --fit -o near.png",
         "quillon map alps.txt --near 46.7N,7.6E --fit --simplify auto --clip -o cut.png"}};
}
