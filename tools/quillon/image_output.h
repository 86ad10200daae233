// Drawings written to a file whose format the -o name chooses: PNG, or SVG as a vector drawing
// that stays sharp at any size. Shared by the commands that draw (preview and the like).
#pragma once

#include <QSize>
#include <functional>
#include <string>
#include <string_view>

class QPainter;

namespace quillon {

enum class ImageFormat { Png, Svg };

// The format the path's extension names (.png, .svg, any letter case). false for any other
// extension: the caller refuses it as a usage error instead of writing PNG under another name.
[[nodiscard]] bool imageFormatOf(const std::string& path, ImageFormat& format);

// The GUI application fonts need, for the time of one command. Without a display it draws off
// screen; the toolkit's own warnings (a missing XDG_RUNTIME_DIR and the like) are kept off
// standard error unless -v.
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

// Paints a white page of size with draw into the file; false when it cannot be written.
[[nodiscard]] bool writeImage(const std::string& path, ImageFormat format, QSize size,
                              const std::function<void(QPainter&)>& draw);

// The largest side a drawing may have.
inline constexpr int kMaxImageSide = 8000;

// "WxH" of --size: both from 1 to kMaxImageSide.
[[nodiscard]] bool parseImageSize(std::string_view text, int& width, int& height);

// "PNG, SVG" refusal text for a usage error.
[[nodiscard]] std::string imageFormatRefusal(const std::string& path);

}  // namespace quillon
