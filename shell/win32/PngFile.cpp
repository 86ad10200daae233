#include "shell/win32/PngFile.h"

#include <objidl.h>
// GDI+ expects min and max of its own.
#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <vector>

#include "shell/win32/Text.h"

namespace shell::win32 {

namespace {

bool pngEncoder(CLSID& out) {
    UINT count = 0;
    UINT size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wstring(codecs[i].MimeType) == L"image/png") {
            out = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

bool SaveBitmapAsPng(HBITMAP bitmap, const std::string& path) {
    if (bitmap == nullptr) return false;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
    bool saved = false;
    {
        CLSID encoder;
        Gdiplus::Bitmap image(bitmap, nullptr);
        saved = image.GetLastStatus() == Gdiplus::Ok && pngEncoder(encoder) &&
                image.Save(Widen(path).c_str(), &encoder, nullptr) == Gdiplus::Ok;
    }
    Gdiplus::GdiplusShutdown(token);
    return saved;
}

HBITMAP CaptureWindow(HWND window) {
    RECT place;
    if (!GetWindowRect(window, &place)) return nullptr;
    const int width = place.right - place.left;
    const int height = place.bottom - place.top;
    HDC screen = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ previous = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
    SelectObject(copy, previous);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace shell::win32
