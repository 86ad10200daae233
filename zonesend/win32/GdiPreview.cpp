#include "zonesend/win32/GdiPreview.h"

#include <vector>

#include "shell/win32/Text.h"

namespace zonesend::win32 {

namespace {

class DcMeasure : public TextMeasure {
public:
    explicit DcMeasure(HDC dc) : dc_(dc) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        height_ = metrics.tmHeight;
    }
    int width(const std::string& text) const override {
        const std::wstring wide = shell::win32::Widen(text);
        SIZE extent{};
        GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
        return extent.cx;
    }
    int lineHeight() const override { return height_; }

private:
    HDC dc_;
    int height_ = 0;
};

}  // namespace

void drawPreview(HDC dc, const airspace::AirspaceRecord& airspace, const PixelRect& rect) {
    const DcMeasure measure(dc);
    const PreviewPicture picture = layoutPreview(airspace, rect, measure);

    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    const HGDIOBJ previousPen = SelectObject(dc, pen);
    const HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    const COLORREF previousText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF previousBack = SetBkColor(dc, RGB(255, 255, 255));
    const UINT previousAlign = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);

    const PixelRect& frame = picture.frame;
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    for (const PlacedText& text : picture.texts) {
        const std::wstring wide = shell::win32::Widen(text.text);
        TextOutW(dc, text.left, text.top, wide.c_str(), static_cast<int>(wide.size()));
    }
    for (const PixelSegment& line : picture.lines) {
        MoveToEx(dc, line.from.x, line.from.y, nullptr);
        LineTo(dc, line.to.x, line.to.y);
    }
    if (!picture.outline.empty()) {
        std::vector<POINT> points;
        points.reserve(picture.outline.size());
        for (const PixelPoint& p : picture.outline) points.push_back({p.x, p.y});
        Polyline(dc, points.data(), static_cast<int>(points.size()));
    }

    SetTextAlign(dc, previousAlign);
    SetBkColor(dc, previousBack);
    SetTextColor(dc, previousText);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    DeleteObject(pen);
}

HBITMAP renderBitmap(int width, int height, HFONT font, const std::function<void(HDC)>& draw) {
    if (width <= 0 || height <= 0) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the picture's rows count
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = bitmap ? CreateCompatibleDC(screen) : nullptr;
    ReleaseDC(nullptr, screen);
    if (dc == nullptr) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    const HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    const HGDIOBJ previousFont =
        SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    const RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(dc);
    SelectObject(dc, previousFont);
    SelectObject(dc, previousBitmap);
    DeleteDC(dc);
    return bitmap;
}

HBITMAP renderPreviewBitmap(const airspace::AirspaceRecord& airspace, int width, int height,
                            HFONT font) {
    return renderBitmap(width, height, font, [&](HDC dc) {
        drawPreview(dc, airspace, PixelRect{0, 0, width, height});
    });
}

}  // namespace zonesend::win32
