// A picture of zonesend's Windows dialog for the README: the sample loaded, three lines
// selected, the preview of the last one clicked. Run under Wine with a display:
//   wine zonesend_win32_screenshot.exe OUT.png [de]
#include <cstdio>
#include <string>

#include "shell/win32/PngFile.h"
#include "zonesend/DialogTemplate.h"
#include "zonesend/win32/AirspaceSetupDialog.h"
#include "zonesend/win32/ProgramStrings.h"

namespace {

void pumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: zonesend_win32_screenshot OUT.png [de]\n");
        return 2;
    }
    const bool german = argc > 2 && std::string(argv[2]) == "de";
    const auto strings = zonesend::win32::loadProgramStrings(
        GetModuleHandleW(nullptr),
        german ? seriallink::Language::German : seriallink::Language::English);
    seriallink::InstallStringTable(&strings->table());

    std::string sample = std::string("Z:") + QUILLON_SOURCE_DIR + "/samples/demo.txt";
    for (char& c : sample) {
        if (c == '/') c = '\\';
    }
    zonesend::AirspaceSetupApp app;
    app.commPort = "COM3";
    zonesend::win32::AirspaceSetupDialog::Options options;
    options.services.enumerate = [](seriallink::ComPortList& out) {
        out = {1, 3, 4};
        return true;
    };
    options.selectionTools.shown = true;
    options.chooseFile = [&](const std::string&, const std::string&) {
        return std::optional<std::string>(sample);
    };
    zonesend::win32::AirspaceSetupDialog dialog(app, options);
    HWND window = dialog.CreateModeless();
    if (window == nullptr) return 1;
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    SendMessageW(dialog.control(zonesend::kIdLoadFile), BM_CLICK, 0, 0);
    HWND list = dialog.control(zonesend::kIdAirspaceList);
    for (const int line : {0, 2, 1}) {
        SendMessageW(list, LB_SETSEL, TRUE, line);
        SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(line), FALSE);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(zonesend::kIdAirspaceList, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    SetFocus(list);
    pumpFor(1500);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpFor(500);

    HBITMAP shot = shell::win32::CaptureWindow(window);
    const bool saved = shell::win32::SaveBitmapAsPng(shot, argv[1]);
    if (shot) DeleteObject(shot);
    seriallink::InstallStringTable(nullptr);
    if (!saved) std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return saved ? 0 : 1;
}
