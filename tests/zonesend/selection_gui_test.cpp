// The Select panel and the selection strip of the main window, off screen: Apply sets the list,
// the totals, the bar and the profile; the map shows the selection; a line sent with another
// encoding shows and counts that encoding until the file's own is put back.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "airspace/AirspaceFile.h"
#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/SelectionPanelLogic.h"
#include "zonesend/gui/AirspaceSetupDialog.h"

namespace {

using zonesend::AirspaceSetupDialog;

template <typename T>
T* child(QObject& in, const QString& name) {
    return in.findChild<T*>(name);
}

QString id(int controlId) {
    return QString::number(controlId);
}

TEST(SelectionStrip, ThePanelSetsTheListTotalsBarProfileAndMap) {
    const zstest::StringsInstalled strings(seriallink::Language::English);
    const zstest::PortDir ports;
    const zstest::TempDir files;
    const std::string path =
        files.write("near.txt", zstest::squareText("Alpha CTR", "CTR", 5, "GND") +
                                    zstest::squareText("Bravo", "R", 15, "FL100") +
                                    zstest::squareText("Charlie", "CTR", 40, "GND") +
                                    zstest::squareText("Delta", "CTR", 10, "GND"));
    zstest::MemoryProfile profile;
    zonesend::AirspaceSetupApp app;
    AirspaceSetupDialog::Options options;
    options.messageBox = [](const seriallink::MessageBoxRequest&) {
        return seriallink::MessageAnswer::Ok;
    };
    options.chooseFile = [&](const std::string&, const std::string&) { return path; };
    options.selectionTools = {true, &profile};
    AirspaceSetupDialog dialog(app, options);
    QTest::mouseClick(child<QPushButton>(dialog, id(zonesend::kIdLoadFile)), Qt::LeftButton);
    auto* list = child<QListWidget>(dialog, id(zonesend::kIdAirspaceList));
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(dialog.logic().app().lastFile, path);  // offered by the next file dialog

    QString said;
    dialog.OnSelect([&](QDialog& panel) {
        child<QLineEdit>(panel, "takeOff")->setText("46.0N 7.0E");
        child<QLineEdit>(panel, "radius")->setText("50");
        child<QCheckBox>(panel, "type:R")->setChecked(false);
        QTest::mouseClick(child<QPushButton>(panel, "apply"), Qt::LeftButton);
        said = child<QPlainTextEdit>(panel, "outcome")->toPlainText();
        panel.reject();
    });
    EXPECT_EQ(said, "2 matched, 2 selected: 36 bytes, 3 blocks.");
    std::vector<int> selected;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) selected.push_back(row);
    }
    EXPECT_EQ(selected, (std::vector<int>{0, 3}));
    EXPECT_EQ(child<QLabel>(dialog, id(zonesend::kIdBytesValue))->text(), "36");
    auto* bar = child<QProgressBar>(dialog, id(zonesend::kIdCapacityBar));
    EXPECT_EQ(bar->value(), 36);
    EXPECT_EQ(bar->maximum(), 3192);
    EXPECT_EQ(bar->text(), "36 of 3192 bytes");
    // Over the store's size the bar is full and in the warning colour; back under, as before.
    const QColor normal = bar->palette().color(QPalette::Highlight);
    const QColor warning(zonesend::kCapacityWarningColour.r, zonesend::kCapacityWarningColour.g,
                         zonesend::kCapacityWarningColour.b);
    ASSERT_NE(normal, warning);
    const struct {
        const char* bytes;
        int value;
        QColor colour;
    } levels[] = {{"116648", 3192, warning}, {"3192", 3192, normal}, {"36", 36, normal}};
    for (const auto& level : levels) {
        dialog.setControlText(zonesend::kIdBytesValue, level.bytes);
        EXPECT_EQ(bar->value(), level.value) << level.bytes;
        EXPECT_EQ(bar->text(), QString(level.bytes) + " of 3192 bytes");
        EXPECT_EQ(bar->palette().color(QPalette::Highlight), level.colour) << level.bytes;
    }
    EXPECT_EQ(profile.texts["Settings/SelectTakeOff"], "46.0N 7.0E");
    EXPECT_EQ(profile.texts["Settings/SelectUntickedTypes"], "R");

    // The map of the whole selection replaces the single preview, and goes back to it.
    dialog.showMap(true);
    const QImage map = dialog.previewImage();
    ASSERT_FALSE(map.isNull());
    EXPECT_EQ(map.size(), dialog.previewRect().size());
    dialog.showMap(false);
    EXPECT_NE(dialog.previewImage(), map);

    // A line sent in another encoding shows and counts it, until the file's own is put back.
    const auto triangle = airspace::parseAirspaces(zstest::triangleText("Bravo"));
    dialog.logic().applySelection({1}, {{1, triangle[0]}});
    EXPECT_TRUE(list->item(1)->text().trimmed().endsWith(QStringLiteral("14")));
    EXPECT_EQ(child<QLabel>(dialog, id(zonesend::kIdBytesValue))->text(), "14");
    EXPECT_EQ(dialog.logic().airspaces()[1].encodedBytes(true), triangle[0].encodedBytes(true));
    EXPECT_EQ(dialog.logic().fileAirspaces()[1].encodedSize(), zstest::kSquareSize);
    EXPECT_TRUE(list->item(1)->text().trimmed().endsWith(QStringLiteral("18")));
}

}  // namespace
