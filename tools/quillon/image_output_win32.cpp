// The drawing commands' pictures on Windows: painted with GDI into a bitmap, as the dialog
// paints them, and written as PNG with GDI+.
#include "shell/win32/PngFile.h"
#include "tools/quillon/image_output.h"
#include "zonesend/win32/GdiMap.h"
#include "zonesend/win32/GdiPreview.h"

namespace quillon {

namespace {

bool writeBitmap(const std::string& path, HBITMAP bitmap) {
    if (bitmap == nullptr) return false;
    const bool saved = shell::win32::SaveBitmapAsPng(bitmap, path);
    DeleteObject(bitmap);
    return saved;
}

}  // namespace

struct DrawingSession::Impl {};

DrawingSession::DrawingSession() : impl_(nullptr) {}
DrawingSession::~DrawingSession() = default;

bool writePreviewImage(const std::string& path, ImageFormat format,
                       const airspace::AirspaceRecord& airspace, int width, int height) {
    if (format != ImageFormat::Png) return false;
    return writeBitmap(path,
                       zonesend::win32::renderPreviewBitmap(airspace, width, height, nullptr));
}

bool writeMapImage(const std::string& path, ImageFormat format, const zonesend::MapRequest& request,
                   int width, int height, int fontPixels) {
    if (format != ImageFormat::Png) return false;
    HFONT font = CreateFontW(-fontPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             VARIABLE_PITCH | FF_SWISS, L"Tahoma");
    const bool written =
        writeBitmap(path, zonesend::win32::renderMapBitmap(request, width, height, font));
    if (font) DeleteObject(font);
    return written;
}

}  // namespace quillon
