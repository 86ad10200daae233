// Drawings written to a file whose format the -o name chooses: PNG, or (where Qt draws them) SVG
// as a vector drawing that stays sharp at any size. Shared by the commands that draw (preview and
// map); Qt paints them on Linux (image_output.cpp), GDI on Windows (image_output_win32.cpp).
#pragma once

#include <string>
#include <string_view>

#include "airspace/AirspaceRecord.h"
#include "zonesend/MapLayout.h"

namespace quillon {

enum class ImageFormat { Png, Svg };

// The format the path's extension names (.png, .svg, any letter case; .png only on Windows).
// false for any other extension: the caller refuses it as a usage error instead of writing PNG
// under another name.
[[nodiscard]] bool imageFormatOf(const std::string& path, ImageFormat& format);

// What the drawing needs of the platform, for the time of one command: on Linux the GUI
// application fonts need, off screen without a display, its warnings (a missing
// XDG_RUNTIME_DIR and the like) kept off standard error unless -v.
class DrawingSession {
public:
    DrawingSession();
    ~DrawingSession();
    DrawingSession(const DrawingSession&) = delete;
    DrawingSession& operator=(const DrawingSession&) = delete;

private:
    struct Impl;
    Impl* impl_;
};

// The preview of one airspace as zonesend shows it, on a white page of width x height; false when
// the file cannot be written.
[[nodiscard]] bool writePreviewImage(const std::string& path, ImageFormat format,
                                     const airspace::AirspaceRecord& airspace, int width,
                                     int height);
// The map of a selection, its texts fontPixels high.
[[nodiscard]] bool writeMapImage(const std::string& path, ImageFormat format,
                                 const zonesend::MapRequest& request, int width, int height,
                                 int fontPixels);

// The largest side a drawing may have.
inline constexpr int kMaxImageSide = 8000;

// "WxH" of --size: both from 1 to kMaxImageSide.
[[nodiscard]] bool parseImageSize(std::string_view text, int& width, int& height);

// "PNG, SVG" refusal text for a usage error.
[[nodiscard]] std::string imageFormatRefusal(const std::string& path);

// The help's words for what the drawing commands write: "PNG or SVG", or "PNG" alone where SVG
// is not written (Windows).
[[nodiscard]] std::string imageKindsText();
// The help of -o, --output.
[[nodiscard]] std::string outputOptionHelp();

}  // namespace quillon
