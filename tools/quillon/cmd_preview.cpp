// quillon preview: the preview drawing of one airspace, as zonesend shows it, into a PNG file.

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "airspace/AirspaceFile.h"
#include "seriallink/Messages.h"
#include "tools/quillon/command.h"
#include "tools/quillon/image_output.h"
#include "tools/quillon/texts.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/Strings.h"

namespace {

constexpr int kDefaultWidth = 400;
constexpr int kDefaultHeight = 400;

bool parseNumber(std::string_view text, int& value) {
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    return error == std::errc() && end == last;
}

int runPreview(const std::vector<std::string>& args) {
    std::string file, indexText, out;
    int width = kDefaultWidth, height = kDefaultHeight;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "-o" || args[i] == "--output") && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--size" && i + 1 < args.size()) {
            if (!quillon::parseImageSize(args[++i], width, height)) {
                return quillon::fail("--size needs WxH, each from 1 to 8000", 2);
            }
        } else if (file.empty()) {
            file = args[i];
        } else if (indexText.empty()) {
            indexText = args[i];
        } else {
            return quillon::fail("unexpected argument '" + args[i] + "'", 2);
        }
    }
    int index = 0;
    if (file.empty() || out.empty() || !parseNumber(indexText, index) || index < 0) {
        return quillon::usageError("preview",
                                   "usage: quillon preview FILE INDEX -o OUT.png [--size WxH]");
    }
    quillon::ImageFormat format = quillon::ImageFormat::Png;
    if (!quillon::imageFormatOf(out, format)) {
        return quillon::usageError("preview", quillon::imageFormatRefusal(out));
    }

    const seriallink::StringTable strings = zonesend::makeStringTable(quillon::language());
    seriallink::InstallStringTable(&strings);
    const airspace::LoadResult loaded = airspace::loadAirspaceFile(file);
    if (loaded.status != airspace::LoadStatus::Ok) {
        return quillon::fail(file + ": " + zonesend::loadFailureText(loaded));
    }
    if (static_cast<std::size_t>(index) >= loaded.records.size()) {
        return quillon::fail(file + " has " + std::to_string(loaded.records.size()) +
                             " airspace(s); index " + indexText + " is not one of them");
    }

    const quillon::DrawingSession session;
    const airspace::AirspaceRecord& record = loaded.records[static_cast<std::size_t>(index)];
    const bool written = quillon::writePreviewImage(out, format, record, width, height);
    if (!written) return quillon::fail("cannot write " + out);
    if (!quillon::settings().quiet())
        std::cout << out << ": " << zonesend::toDisplayUtf8(record.name) << ", "
                  << record.encodedSize() << " bytes\n";
    return 0;
}

}  // namespace

quillon::Command quillon::previewCommand() {
    std::vector<std::string> examples = {"quillon preview alps.txt 3 -o zone.png"};
#ifndef _WIN32
    examples.push_back("quillon preview alps.txt 3 -o zone.svg");
#endif
    return {"preview",
            "preview FILE INDEX -o OUT.png [--size WxH]",
            text("Draw the preview of airspace INDEX (0 = first) of FILE into a ",
                 "Die Vorschau des Luftraums INDEX (0 = erster) der DATEI wie zonesend in ein ",
                 "Dessiner l'aperçu de l'espace aérien INDICE (0 = le premier) de FICHIER en ") +
                imageKindsText() +
                text(", as zonesend shows it", " zeichnen", ", comme zonesend le montre"),
            runPreview,
            {{"-o, --output OUT", outputOptionHelp()},
             {"--size WxH", text("the picture's size in pixels (default 400x400, at most 8000)",
                                 "die Bildgröße in Pixeln (Vorgabe 400x400, höchstens 8000)",
                                 "la taille de l'image en pixels (400x400 par défaut, 8000 au "
                                 "plus)")}},
            examples};
}
