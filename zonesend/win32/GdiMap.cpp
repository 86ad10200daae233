#include "zonesend/win32/GdiMap.h"

#include <vector>

#include "shell/win32/Text.h"
#include "zonesend/win32/GdiPreview.h"

namespace zonesend::win32 {

namespace {

class DcMeasure : public TextMeasure {
public:
    explicit DcMeasure(HDC dc) : dc_(dc) {}
    int width(const std::string& utf8) const override {
        const std::wstring wide = shell::win32::Widen(utf8);
        SIZE extent{};
        GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
        return extent.cx;
    }
    int lineHeight() const override {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc_, &metrics);
        return metrics.tmHeight;
    }

private:
    HDC dc_;
};

struct Style {
    COLORREF colour;
    int width;
    int penStyle;
    bool fills;
    COLORREF fill;  // the tint over white: GDI has no translucent brush
};

// The tint of colour at alpha (0-255) over a white ground.
COLORREF overWhite(BYTE r, BYTE g, BYTE b, int alpha) {
    const auto mix = [alpha](BYTE c) { return static_cast<BYTE>(255 + (c - 255) * alpha / 255); };
    return RGB(mix(r), mix(g), mix(b));
}

// The same colours as the Qt painter's, so both maps read alike.
Style styleOf(MapPen pen) {
    switch (pen) {
        case MapPen::Frame:
            return {RGB(0, 0, 0), 1, PS_SOLID, true, RGB(255, 255, 255)};
        case MapPen::Grid:
            return {RGB(0xd8, 0xdc, 0xe0), 1, PS_SOLID, false, 0};
        case MapPen::GridText:
            return {RGB(0x80, 0x88, 0x90), 1, PS_SOLID, false, 0};
        case MapPen::Outline:
            return {RGB(0x1f, 0x4e, 0x9c), 1, PS_SOLID, true, overWhite(0x1f, 0x4e, 0x9c, 0x22)};
        case MapPen::Highlight:
            return {RGB(0xc8, 0x1e, 0x1e), 2, PS_SOLID, true, overWhite(0xc8, 0x1e, 0x1e, 0x40)};
        case MapPen::Original:
            return {RGB(0x90, 0x90, 0x90), 1, PS_SOLID, false, 0};
        case MapPen::CutEdge:
            return {RGB(0x0b, 0x2a, 0x5e), 1, PS_DASH, false, 0};
        case MapPen::CutHighlight:
            // GDI dashes only lines one pixel wide.
            return {RGB(0xc8, 0x1e, 0x1e), 1, PS_DASH, false, 0};
        case MapPen::Ring:
            return {RGB(0x1a, 0x8a, 0x2e), 1, PS_DASH, false, 0};
        case MapPen::Margin:
            return {RGB(0x1a, 0x8a, 0x2e), 1, PS_DOT, false, 0};
        case MapPen::TakeOff:
            return {RGB(0x1a, 0x8a, 0x2e), 2, PS_SOLID, false, 0};
        case MapPen::Scale:
        case MapPen::Caption:
            return {RGB(0, 0, 0), 1, PS_SOLID, false, 0};
        case MapPen::Label:
            return {RGB(0x24, 0x30, 0x48), 1, PS_SOLID, false, 0};
    }
    return {RGB(0, 0, 0), 1, PS_SOLID, false, 0};
}

std::vector<POINT> pointsOf(const MapLine& line) {
    std::vector<POINT> points;
    points.reserve(line.points.size());
    for (const MapPixel& p : line.points) points.push_back({p.x, p.y});
    return points;
}

HFONT boldVariant(HDC dc) {
    LOGFONTW font{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&font);
}

}  // namespace

MapDrawing drawMap(HDC dc, const MapRequest& request, const PixelRect& rect) {
    const MapDrawing drawing = layoutMap(request, rect, DcMeasure(dc));
    const int saved = SaveDC(dc);

    HPEN frame = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    SelectObject(dc, frame);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    // Lines stay within the map itself, clear of the caption and the scale bars.
    const int inside = SaveDC(dc);
    IntersectClipRect(dc, drawing.area.left, drawing.area.top, drawing.area.right,
                      drawing.area.bottom);

    // Tints first: an opaque brush would otherwise cover the outlines painted before it.
    SelectObject(dc, GetStockObject(NULL_PEN));
    for (const MapLine& line : drawing.lines) {
        const Style style = styleOf(line.pen);
        if (!line.filled || !style.fills || line.points.size() < 3) continue;
        HBRUSH brush = CreateSolidBrush(style.fill);
        SelectObject(dc, brush);
        const std::vector<POINT> points = pointsOf(line);
        Polygon(dc, points.data(), static_cast<int>(points.size()));
        SelectObject(dc, GetStockObject(NULL_BRUSH));
        DeleteObject(brush);
    }
    SetBkMode(dc, TRANSPARENT);  // the gaps of dashed lines
    for (const MapLine& line : drawing.lines) {
        if (!line.stroked || line.pen == MapPen::Scale) continue;
        const Style style = styleOf(line.pen);
        HPEN pen = CreatePen(style.penStyle, style.width, style.colour);
        const HGDIOBJ previous = SelectObject(dc, pen);
        const std::vector<POINT> points = pointsOf(line);
        if (!points.empty()) Polyline(dc, points.data(), static_cast<int>(points.size()));
        SelectObject(dc, previous);
        DeleteObject(pen);
    }

    RestoreDC(dc, inside);
    IntersectClipRect(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1);
    HPEN scale = CreatePen(PS_SOLID, 1, styleOf(MapPen::Scale).colour);
    const HGDIOBJ before = SelectObject(dc, scale);
    for (const MapLine& line : drawing.lines) {
        if (line.pen != MapPen::Scale) continue;
        const std::vector<POINT> points = pointsOf(line);
        if (!points.empty()) Polyline(dc, points.data(), static_cast<int>(points.size()));
    }
    SelectObject(dc, before);
    DeleteObject(scale);

    HFONT regular = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    HFONT bold = boldVariant(dc);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const MapText& text : drawing.texts) {
        const bool strong = text.pen == MapPen::Caption || text.pen == MapPen::Highlight;
        SelectObject(dc, strong && bold ? bold : regular);
        const std::wstring shown = shell::win32::Widen(text.text);
        SIZE extent{};
        GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
        int left = text.x;
        if (text.anchor == MapAnchor::Centre) left -= extent.cx / 2;
        if (text.anchor == MapAnchor::Right) left -= extent.cx;
        // Labels stand on a white ground so that they stay readable over outlines and the grid.
        if (text.pen == MapPen::Label || text.pen == MapPen::Highlight ||
            text.pen == MapPen::GridText) {
            const RECT ground{left - 1, text.top, left + extent.cx + 1, text.top + extent.cy};
            FillRect(dc, &ground, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        }
        SetTextColor(dc, styleOf(text.pen).colour);
        TextOutW(dc, left, text.top, shown.c_str(), static_cast<int>(shown.size()));
    }

    RestoreDC(dc, saved);
    if (bold) DeleteObject(bold);
    DeleteObject(frame);
    return drawing;
}

HBITMAP renderMapBitmap(const MapRequest& request, int width, int height, HFONT font,
                        MapDrawing* laidOut) {
    return renderBitmap(width, height, font, [&](HDC dc) {
        MapDrawing drawing = drawMap(dc, request, PixelRect{0, 0, width, height});
        if (laidOut != nullptr) *laidOut = std::move(drawing);
    });
}

}  // namespace zonesend::win32
