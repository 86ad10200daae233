// Writes a bitmap as a PNG file with GDI+, the system's own image codecs.
#pragma once

#include <string>

#include "shell/win32/Windows.h"

namespace shell::win32 {

// path is UTF-8. False when GDI+ cannot start, has no PNG encoder, or the file cannot be written.
[[nodiscard]] bool SaveBitmapAsPng(HBITMAP bitmap, const std::string& path);

// A copy of what the screen shows of a window, frame and caption included; null on failure. The
// caller deletes it.
[[nodiscard]] HBITMAP CaptureWindow(HWND window);

}  // namespace shell::win32
