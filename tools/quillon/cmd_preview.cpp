// quillon preview: the preview drawing of one airspace, as zonesend shows it, into a PNG file.

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "airspace/AirspaceFile.h"
#include "seriallink/Messages.h"
#include "tools/quillon/command.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/Strings.h"
#include "zonesend/preview/PreviewDrawing.h"

namespace {

constexpr int kDefaultWidth = 400;
constexpr int kDefaultHeight = 400;
constexpr int kMaxSide = 8000;

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

int runPreview(const std::vector<std::string>& args) {
    std::string file, indexText, out;
    int width = kDefaultWidth, height = kDefaultHeight;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "-o" || args[i] == "--output") && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--size" && i + 1 < args.size()) {
            if (!parseSize(args[++i], width, height)) {
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
        return quillon::fail("usage: quillon preview FILE INDEX -o OUT.png [--size WxH]", 2);
    }

    const seriallink::StringTable strings = zonesend::makeStringTable(seriallink::UserLanguage());
    seriallink::InstallStringTable(&strings);
    const airspace::LoadResult loaded = airspace::loadAirspaceFile(file);
    if (loaded.status != airspace::LoadStatus::Ok) {
        return quillon::fail(file + ": " + zonesend::loadFailureText(loaded));
    }
    if (static_cast<std::size_t>(index) >= loaded.records.size()) {
        return quillon::fail(file + " has " + std::to_string(loaded.records.size()) +
                             " airspace(s); index " + indexText + " is not one of them");
    }

    // Fonts need a GUI application; without a display the drawing happens off screen.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    int argc = 1;
    char name[] = "quillon";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    const airspace::AirspaceRecord& record = loaded.records[static_cast<std::size_t>(index)];
    const QImage image = zonesend::renderPreview(record, QSize(width, height));
    if (!image.save(QString::fromStdString(out), "PNG")) {
        return quillon::fail("cannot write " + out);
    }
    std::cout << out << ": " << zonesend::toDisplayUtf8(record.name) << ", " << record.encodedSize()
              << " bytes\n";
    return 0;
}

const quillon::CommandRegistration reg{
    "preview", "preview FILE INDEX -o OUT.png [--size WxH]",
    "Draw the preview of airspace INDEX (0 = first) of FILE into a PNG, as zonesend shows it",
    runPreview};

}  // namespace
