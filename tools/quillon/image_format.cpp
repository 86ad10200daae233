// The image formats the drawing commands write, on both platforms.
#include <charconv>

#include "tools/quillon/image_output.h"
#include "tools/quillon/input.h"
#include "tools/quillon/texts.h"

namespace quillon {

bool imageFormatOf(const std::string& path, ImageFormat& format) {
    const std::string extension = lowercaseExtension(path);
    if (extension == ".png") {
        format = ImageFormat::Png;
        return true;
    }
#ifndef _WIN32
    // SVG is Qt's; the Windows build draws with GDI into bitmaps.
    if (extension == ".svg") {
        format = ImageFormat::Svg;
        return true;
    }
#endif
    return false;
}

std::string imageFormatRefusal(const std::string& path) {
#ifdef _WIN32
    return text("cannot write '", "kann '", "impossible d'écrire '") + path +
           text("': the name must end in .png", "' nicht schreiben: der Name muss auf .png enden",
                "' : le nom doit se terminer par .png");
#else
    return text("cannot write '", "kann '", "impossible d'écrire '") + path +
           text("': the name must end in .png or .svg",
                "' nicht schreiben: der Name muss auf "
                ".png oder .svg enden",
                "' : le nom doit se terminer par .png ou .svg");
#endif
}

std::string imageKindsText() {
#ifdef _WIN32
    return "PNG";
#else
    return text("PNG or SVG", "PNG oder SVG", "PNG ou SVG");
#endif
}

std::string outputOptionHelp() {
#ifdef _WIN32
    return text("the file to write: OUT.png", "die zu schreibende Datei: OUT.png",
                "le fichier à écrire : SORTIE.png");
#else
    return text("the file to write: OUT.png, or OUT.svg for a vector drawing",
                "die zu schreibende Datei: OUT.png, oder OUT.svg als Vektorgrafik",
                "le fichier à écrire : SORTIE.png, ou SORTIE.svg pour un dessin vectoriel");
#endif
}

bool parseImageSize(std::string_view text, int& width, int& height) {
    const auto number = [](std::string_view digits, int& value) {
        const char* last = digits.data() + digits.size();
        const auto [end, error] = std::from_chars(digits.data(), last, value);
        return error == std::errc() && end == last;
    };
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos) return false;
    if (!number(text.substr(0, x), width) || !number(text.substr(x + 1), height)) return false;
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

}  // namespace quillon
