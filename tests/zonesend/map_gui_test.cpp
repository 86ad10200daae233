// The map in the main window, off screen: around a take-off it frames the radius, however far
// one selected airspace reaches; "Whole selection" zooms out to it; a grown window gives the map
// its room while the template's controls stay where they were.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/gui/AirspaceSetupDialog.h"
#include "zonesend/gui/MapCanvas.h"

namespace {

template <typename T>
T* child(QObject& in, const QString& name) {
    return in.findChild<T*>(name);
}

// How wide the green of the ring and its margin circle spreads in the picture.
int greenWidth(const QImage& image) {
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() > c.red() + 40 && c.green() > c.blue() + 40) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return right - left;
}

TEST(SelectionMap, FramesTheRadiusOfAFarReachingSelectionAndGrowsWithTheWindow) {
    const zstest::StringsInstalled strings(seriallink::Language::English);
    const zstest::PortDir ports;
    const zstest::TempDir files;
    // A CTA reaching 300 km from the take-off, and a CTR beside it.
    const std::string path = files.write(
        "far.txt",
        "AC C\nAN Far CTA\nAL FL95\nAH FL195\nDP 45:50:00 N 006:50:00 E\n"
        "DP 48:30:00 N 009:30:00 E\nDP 48:20:00 N 009:50:00 E\nDP 45:50:00 N 007:10:00 E\n" +
            zstest::squareText("Near CTR", "CTR", 5, "GND"));
    zonesend::AirspaceSetupApp app;
    zonesend::AirspaceSetupDialog::Options options;
    options.messageBox = [](const seriallink::MessageBoxRequest&) {
        return seriallink::MessageAnswer::Ok;
    };
    options.chooseFile = [&](const std::string&, const std::string&) { return path; };
    options.selectionTools.shown = true;
    zonesend::AirspaceSetupDialog dialog(app, options);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(child<QPushButton>(dialog, QString::number(zonesend::kIdLoadFile)),
                      Qt::LeftButton);
    dialog.OnSelect([&](QDialog& panel) {
        child<QLineEdit>(panel, "takeOff")->setText("46.0N 7.0E");
        child<QLineEdit>(panel, "radius")->setText("50");
        QTest::mouseClick(child<QPushButton>(panel, "apply"), Qt::LeftButton);
        panel.reject();
    });
    const QSize first = dialog.size();
    const QRect firstList =
        child<QListWidget>(dialog, QString::number(zonesend::kIdAirspaceList))->geometry();
    const QRect firstExit = child<QWidget>(dialog, QString::number(zonesend::kIdExit))->geometry();

    dialog.showMap(true);
    const QImage framed = dialog.previewImage();
    ASSERT_EQ(framed.size(), dialog.previewRect().size());
    // The ring of 50 km and its margin span most of the map's height, not 53 pixels.
    EXPECT_GT(greenWidth(framed), framed.height() * 6 / 10);

    QTest::mouseClick(child<QPushButton>(dialog, "wholeSelection"), Qt::LeftButton);
    const QImage whole = dialog.mapCanvas()->image();
    EXPECT_LT(greenWidth(whole) * 3, greenWidth(framed));
    QTest::mouseClick(child<QPushButton>(dialog, "wholeSelection"), Qt::LeftButton);

    // A larger window: the map and the list gain the room, the top row stays.
    dialog.resize(first + QSize(200, 120));
    QTest::qWait(20);
    EXPECT_EQ(dialog.mapCanvas()->image().size(), framed.size() + QSize(200, 120));
    EXPECT_GT(greenWidth(dialog.mapCanvas()->image()), greenWidth(framed) + 80);
    const QRect list =
        child<QListWidget>(dialog, QString::number(zonesend::kIdAirspaceList))->geometry();
    EXPECT_EQ(list.height(), firstList.height() + 120);
    EXPECT_EQ(child<QWidget>(dialog, QString::number(zonesend::kIdExit))->geometry(), firstExit);
    // Back at its first size, every control is where the template puts it.
    dialog.resize(first);
    QTest::qWait(20);
    EXPECT_EQ(child<QListWidget>(dialog, QString::number(zonesend::kIdAirspaceList))->geometry(),
              firstList);
    EXPECT_EQ(dialog.mapCanvas()->image().size(), framed.size());
}

}  // namespace
