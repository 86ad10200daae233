// quillon map: the map of a selection, as zonesend's preview area shows it, into a PNG file.

#include <QFont>
#include <QPainter>
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
#include "tools/quillon/texts.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/SelectionPanelLogic.h"
#include "zonesend/Strings.h"
#include "zonesend/preview/MapPainter.h"

namespace {

constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
constexpr int kMaxSide = 8000;
constexpr int kFontPixels = 12;

bool parseNumber(std::string_view text, int& value) {
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    return error == std::errc() && end == last;
}

bool parseSize(std::string_view text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    if (!parseNumber(text.substr(0, x), width) || !parseNumber(text.substr(x + 1), height)) {
        return false;
    }
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

struct MapOptions {
    airspace::SelectionCriteria criteria;
    bool fit = false;
    std::size_t budget = airspace::kDeviceCapacity;
    double toleranceMetres = 0.0;
};

// The selection options `select`, `send` and `encode` take.
int readSelectionOption(const std::vector<std::string>& args, std::size_t& i, MapOptions& o) {
    const std::string& option = args[i];
    const bool hasValue = i + 1 < args.size();
    if (option == "--fit") {
        o.fit = true;
        std::size_t bytes = 0;
        const std::string_view next = hasValue ? std::string_view(args[i + 1]) : "";
        const auto [end, error] = std::from_chars(next.data(), next.data() + next.size(), bytes);
        if (!next.empty() && error == std::errc() && end == next.data() + next.size()) {
            o.budget = bytes;
            ++i;
        }
        return 0;
    }
    if (!hasValue) return -1;
    const std::string& value = args[++i];
    if (option == "--near") {
        o.criteria.near = airspace::parseLatLon(value);
        if (!o.criteria.near) return quillon::fail("--near: '" + value + "' is not a point", 2);
    } else if (option == "--radius") {
        const std::optional<double> km = airspace::parseDistanceKm(value);
        if (!km) return quillon::fail("--radius: '" + value + "' is not a distance", 2);
        o.criteria.radiusKm = *km;
    } else if (option == "--type") {
        std::size_t start = 0;
        while (start <= value.size()) {
            const std::size_t comma = std::min(value.find(',', start), value.size());
            if (comma > start) o.criteria.types.push_back(value.substr(start, comma - start));
            start = comma + 1;
        }
    } else if (option == "--below") {
        o.criteria.floorBelowFeet = airspace::parseAltitudeLimitFeet(value);
        if (!o.criteria.floorBelowFeet) {
            return quillon::fail("--below: '" + value + "' is not a height", 2);
        }
    } else if (option == "--name") {
        o.criteria.nameContains = value;
    } else if (option == "--simplify") {
        zonesend::SelectionChoices choices;
        choices.simplifyMetres = value;
        zonesend::CheckedChoices checked;
        if (zonesend::checkChoices(choices, {}, checked) != zonesend::ChoiceProblem::None) {
            return quillon::fail("--simplify: '" + value + "' is not a distance", 2);
        }
        o.toleranceMetres = checked.toleranceMetres;
    } else {
        --i;
        return -1;
    }
    return 0;
}

int runMap(const std::vector<std::string>& args) {
    std::string file, out;
    int width = kDefaultWidth, height = kDefaultHeight;
    MapOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "-o" || args[i] == "--output") && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--size" && i + 1 < args.size()) {
            if (!parseSize(args[++i], width, height)) {
                return quillon::fail("--size needs WxH, each from 1 to 8000", 2);
            }
        } else if (args[i].starts_with("--")) {
            const int status = readSelectionOption(args, i, options);
            if (status > 0) return status;
            if (status < 0) return quillon::fail("unexpected option '" + args[i] + "'", 2);
        } else if (file.empty()) {
            file = args[i];
        } else {
            return quillon::fail("unexpected argument '" + args[i] + "'", 2);
        }
    }
    if (file.empty() || out.empty()) {
        return quillon::usageError(
            "map", "usage: quillon map FILE [selection options] -o OUT.png [--size WxH]");
    }
    quillon::ImageFormat format = quillon::ImageFormat::Png;
    if (!quillon::imageFormatOf(out, format)) {
        return quillon::usageError("map", quillon::imageFormatRefusal(out));
    }

    const seriallink::StringTable strings = zonesend::makeStringTable(seriallink::UserLanguage());
    seriallink::InstallStringTable(&strings);
    const airspace::LoadResult loaded = airspace::loadAirspaceFile(file);
    if (loaded.status != airspace::LoadStatus::Ok) {
        return quillon::fail(file + ": " + zonesend::loadFailureText(loaded));
    }

    zonesend::CheckedChoices checked;
    checked.criteria = options.criteria;
    checked.fit = options.fit;
    checked.toleranceMetres = options.toleranceMetres;
    const zonesend::SelectionOutcome outcome =
        zonesend::selectAirspaces(loaded.records, checked, options.budget);

    const quillon::DrawingSession session;
    // The map shows what would be sent: the simplified outline where one replaces the file's.
    zonesend::MapRequest request;
    request.takeOff = options.criteria.near;
    request.radiusKm = options.criteria.near ? options.criteria.radiusKm : 0.0;
    auto replacement = outcome.replacements.begin();
    for (const std::size_t index : outcome.selected) {
        while (replacement != outcome.replacements.end() && replacement->first < index) {
            ++replacement;
        }
        const bool replaced =
            replacement != outcome.replacements.end() && replacement->first == index;
        request.airspaces.push_back(replaced ? &replacement->second : &loaded.records[index]);
    }
    request.caption = std::to_string(outcome.selected.size()) + " airspaces, " +
                      std::to_string(outcome.bytes) + " bytes";
    const bool written = quillon::writeImage(out, format, QSize(width, height), [&](QPainter& p) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(kFontPixels);
        p.setFont(font);
        zonesend::drawMap(p, request, zonesend::PixelRect{0, 0, width, height});
    });
    if (!written) return quillon::fail("cannot write " + out);
    if (!quillon::settings().quiet()) {
        std::cout << out << ": " << outcome.selected.size() << " of " << outcome.matched
                  << " matching airspace(s), " << outcome.bytes << " bytes\n";
    }
    return 0;
}

}  // namespace

quillon::Command quillon::mapCommand() {
    return {"map",
            "map FILE [selection options] -o OUT.png [--size WxH]",
            text("Draw the airspaces of FILE that the selection options choose on a map, as "
                 "zonesend shows the selection, into a PNG or SVG",
                 "Die mit den Auswahloptionen gewählten Lufträume der DATEI wie zonesend auf "
                 "einer Karte in ein PNG oder SVG zeichnen"),
            runMap,
            {{"-o, --output OUT", text("the file to write: OUT.png, or OUT.svg for a vector "
                                       "drawing",
                                       "die zu schreibende Datei: OUT.png, oder OUT.svg als "
                                       "Vektorgrafik")},
             {"--size WxH", text("the picture's size in pixels (default 800x600, at most 8000)",
                                 "die Bildgröße in Pixeln (Vorgabe 800x600, höchstens 8000)")}},
            {"quillon map alps.txt --near 46.7N,7.6E --radius 50km --fit -o near.png"}};
}
