// Pictures of the Select panel and of the map for the README, with a generated national-size
// file (fictional), taken under Xvfb with drawn title bars; the map around the take-off, framed
// on its radius, fitted at 250 m and cut to the radius, and the same in an enlarged window:
//   zonesend_selection_screenshot SELECT.png MAP.png [GROWN.png]
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "bench/NationalAirspace.h"
#include "seriallink/Messages.h"
#include "tests/common/TitleBarGrab.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/AboutDialog.h"
#include "zonesend/gui/AirspaceSetupDialog.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: zonesend_selection_screenshot SELECT.png MAP.png [GROWN.png]\n");
        return 2;
    }
    QApplication application(argc, argv);
    QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("national.txt")).toStdString();
    std::ofstream(file, std::ios::binary) << airspace::bench::NationalAirspace(1).file();

    QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("COM3")));
    setenv("KORVALIS_PORT_DIR", dir.path().toLocal8Bit().constData(), 1);
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
    options.selectionTools.shown = true;
    zonesend::AirspaceSetupDialog dialog(app, options);
    dialog.show();
    (void)QTest::qWaitForWindowExposed(&dialog);
    dialog.logic().OnLoadFile();

    bool savedSelect = false;
    dialog.OnSelect([&](QDialog& panel) {
        (void)QTest::qWaitForWindowExposed(&panel);
        panel.findChild<QLineEdit*>(QStringLiteral("takeOff"))->setText("46:42:00 N 007:36:00 E");
        panel.findChild<QLineEdit*>(QStringLiteral("radius"))->setText("50");
        panel.findChild<QLineEdit*>(QStringLiteral("floorBelow"))->setText("100");
        panel.findChild<QLineEdit*>(QStringLiteral("simplify"))->setText("250");
        if (auto* clip = panel.findChild<QCheckBox*>(QStringLiteral("clip")))
            clip->setChecked(true);
        for (const char* type : {"GP", "W"}) {
            if (auto* box = panel.findChild<QCheckBox*>(QStringLiteral("type:") + type)) {
                box->setChecked(false);
            }
        }
        QTest::mouseClick(panel.findChild<QPushButton*>(QStringLiteral("apply")), Qt::LeftButton);
        QTest::qWait(50);
        savedSelect = testsupport::WithTitleBar(panel, zonesend::applicationIcon())
                          .save(QString::fromLocal8Bit(argv[1]));
        panel.reject();
    });

    // The clicked airspace: the first selected line, clicked twice so that it stays selected.
    auto* list = dialog.findChild<QListWidget*>(QString::number(zonesend::kIdAirspaceList));
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    if (!chosen.isEmpty()) {
        QListWidgetItem* item = chosen[chosen.size() / 2];
        list->scrollToItem(item);
        for (int click = 0; click < 2; ++click) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(item).center());
        }
    }
    dialog.showMap(true);
    QTest::qWait(50);
    const bool savedMap = testsupport::WithTitleBar(dialog, zonesend::applicationIcon())
                              .save(QString::fromLocal8Bit(argv[2]));
    bool savedGrown = true;
    if (argc == 4) {
        dialog.resize(dialog.size() + QSize(360, 200));
        QTest::qWait(50);
        savedGrown = testsupport::WithTitleBar(dialog, zonesend::applicationIcon())
                         .save(QString::fromLocal8Bit(argv[3]));
    }
    seriallink::InstallStringTable(nullptr);
    if (!savedSelect || !savedMap || !savedGrown) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 1;
    }
    return 0;
}
