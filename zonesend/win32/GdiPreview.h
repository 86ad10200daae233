// The preview of one airspace (zonesend/PreviewPicture.h) drawn with GDI, and kept in a bitmap
// so that a window can show it again whenever it repaints.
#pragma once

#include <functional>

#include "airspace/AirspaceRecord.h"
#include "shell/win32/Windows.h"
#include "zonesend/PreviewPicture.h"

namespace zonesend::win32 {

// Draws into rect of dc with the font selected in dc: a solid black pen 1 pixel wide, the frame
// filled with a white brush, texts in black on their white background.
void drawPreview(HDC dc, const airspace::AirspaceRecord& airspace, const PixelRect& rect);

// A white 32-bit top-down bitmap of width x height with what draw paints into it, the font
// (the system's default GUI font when null) selected; null when the bitmap cannot be made. The
// caller deletes it.
[[nodiscard]] HBITMAP renderBitmap(int width, int height, HFONT font,
                                   const std::function<void(HDC)>& draw);

// A 32-bit top-down bitmap of width x height holding the preview, drawn with font (the system's
// default GUI font when null). Null when the bitmap cannot be made. The caller deletes it.
[[nodiscard]] HBITMAP renderPreviewBitmap(const airspace::AirspaceRecord& airspace, int width,
                                          int height, HFONT font);

}  // namespace zonesend::win32
