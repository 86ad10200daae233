// Opens the Airspace Setup window with the sample file loaded, a few airspaces selected and the
// preview of one of them, and saves a picture of it with a drawn title bar (a bare X server has
// no window manager to draw one). Usage: zonesend_screenshot OUTPUT.png [OPENAIR_FILE [LINE]]
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "seriallink/Messages.h"
#include "tests/common/TitleBarGrab.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/AboutDialog.h"
#include "zonesend/gui/AirspaceSetupDialog.h"

namespace {

QImage withTitleBar(QWidget& window) {
    return testsupport::WithTitleBar(window, zonesend::applicationIcon());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: zonesend_screenshot OUTPUT.png [OPENAIR_FILE [LINE]]\n");
        return 2;
    }
    QApplication application(argc, argv);
    const std::string file =
        argc > 2 ? argv[2] : std::string(QUILLON_SOURCE_DIR) + "/samples/demo.txt";
    const int line = argc > 3 ? std::atoi(argv[3]) : 2;

    // Two ports, so that the port box shows one; no real device is opened.
    QTemporaryDir ports;
    QFile::link(QStringLiteral("/dev/null"), ports.filePath(QStringLiteral("COM3")));
    QFile::link(QStringLiteral("/dev/null"), ports.filePath(QStringLiteral("COM4")));
    setenv("KORVALIS_PORT_DIR", ports.path().toLocal8Bit().constData(), 1);

    const seriallink::StringTable strings = zonesend::makeStringTable(seriallink::UserLanguage());
    seriallink::InstallStringTable(&strings);
    zonesend::AirspaceSetupApp app;
    app.commPort = "COM3";
    zonesend::AirspaceSetupDialog::Options options;
    options.chooseFile = [&](const std::string&, const std::string&) { return file; };
    options.messageBox = [](const seriallink::MessageBoxRequest& request) {
        std::fprintf(stderr, "message: %s\n", request.text.c_str());
        return seriallink::MessageAnswer::Ok;
    };
    zonesend::AirspaceSetupDialog dialog(app, options);
    dialog.show();
    (void)QTest::qWaitForWindowExposed(&dialog);
    dialog.logic().OnLoadFile();

    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("1003"));
    for (int row : {0, 1, line}) {
        if (row >= list->count()) continue;
        QListWidgetItem* item = list->item(row);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
    }
    QTest::qWait(50);
    const bool saved = withTitleBar(dialog).save(QString::fromLocal8Bit(argv[1]));
    seriallink::InstallStringTable(nullptr);
    if (!saved) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
