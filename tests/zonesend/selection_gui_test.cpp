// The Select panel and the selection strip of the main window, off screen: Apply sets the list,
// the totals, the bar and the profile; the map shows the selection; a line sent with another
// encoding shows and counts that encoding until the file's own is put back.
#include <gtest/gtest.h>

#include <QAction>
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

// A window with the strip: its file dialog answers `chosen` (as it stands at each click), its
// message boxes are answered OK, and its panel keeps its choices in `profile` (none when null).
AirspaceSetupDialog::Options stripOptions(const std::string& chosen,
                                          zstest::MemoryProfile* profile) {
    AirspaceSetupDialog::Options options;
    options.messageBox = [](const seriallink::MessageBoxRequest&) {
        return seriallink::MessageAnswer::Ok;
    };
    options.chooseFile = [&chosen](const std::string&, const std::string&) { return chosen; };
    options.selectionTools = {true, profile};
    return options;
}

// Alpha 9 km, Bravo 28 km, Charlie 74 km and Delta 19 km from 46N 7E.
std::string nearFile(const zstest::TempDir& files) {
    return files.write("near.txt", zstest::squareText("Alpha CTR", "CTR", 5, "GND") +
                                       zstest::squareText("Bravo", "R", 15, "FL100") +
                                       zstest::squareText("Charlie", "CTR", 40, "GND") +
                                       zstest::squareText("Delta", "CTR", 10, "GND"));
}

TEST(SelectionStrip, ThePanelSetsTheListTotalsBarProfileAndMap) {
    const zstest::StringsInstalled strings(seriallink::Language::English);
    const zstest::PortDir ports;
    const zstest::TempDir files;
    const std::string path = nearFile(files);
    zstest::MemoryProfile profile;
    zonesend::AirspaceSetupApp app;
    AirspaceSetupDialog dialog(app, stripOptions(path, &profile));
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

    // A line sent in another encoding shows and counts it; reading the file's own records (as
    // opening the Select panel does) leaves the line, its size and the totals as they are.
    const auto triangle = airspace::parseAirspaces(zstest::triangleText("Bravo"));
    dialog.logic().applySelection({1}, {{1, triangle[0]}});
    EXPECT_TRUE(list->item(1)->text().trimmed().endsWith(QStringLiteral("14")));
    EXPECT_EQ(child<QLabel>(dialog, id(zonesend::kIdBytesValue))->text(), "14");
    EXPECT_EQ(dialog.logic().airspaces()[1].encodedBytes(true), triangle[0].encodedBytes(true));
    EXPECT_EQ(dialog.logic().fileAirspaces()[1].encodedSize(), zstest::kSquareSize);
    EXPECT_TRUE(list->item(1)->text().trimmed().endsWith(QStringLiteral("14")));
    EXPECT_EQ(child<QLabel>(dialog, id(zonesend::kIdBytesValue))->text(), "14");
}

// The list's marks by key and context menu, the panel's new choices and "Selected only", off
// screen: what the pilot does in the window reaches the fit.
TEST(SelectionStrip, MarksNewChoicesAndSelectedOnly) {
    const zstest::StringsInstalled strings(seriallink::Language::English);
    const zstest::PortDir ports;
    const zstest::TempDir files;
    // 0 Alpha 9 km, 1 Bravo 28 km, 2 Charlie 74 km, 3 Delta 19 km.
    const std::string path = nearFile(files);
    zstest::MemoryProfile profile;
    zonesend::AirspaceSetupApp app;
    AirspaceSetupDialog dialog(app, stripOptions(path, &profile));
    dialog.show();
    QTest::mouseClick(child<QPushButton>(dialog, id(zonesend::kIdLoadFile)), Qt::LeftButton);
    auto* list = child<QListWidget>(dialog, id(zonesend::kIdAirspaceList));
    const QString charlieText = list->item(2)->text();

    // Insert on Charlie: always; the context menu's "Never include" on Delta.
    list->setFocus();
    list->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    QTest::keyClick(list, Qt::Key_Insert);
    list->setCurrentRow(3, QItemSelectionModel::NoUpdate);
    child<QAction>(*list, "neverInclude")->trigger();
    EXPECT_EQ(dialog.logic().lineMark(2), zonesend::LineMark::AlwaysInclude);
    EXPECT_EQ(dialog.logic().lineMark(3), zonesend::LineMark::NeverInclude);
    EXPECT_EQ(list->item(2)->text(), charlieText);  // the mark is not in the text
    EXPECT_TRUE(list->item(2)->font().bold());
    EXPECT_TRUE(list->item(3)->font().strikeOut());

    QString said;
    dialog.OnSelect([&](QDialog& panel) {
        child<QLineEdit>(panel, "takeOff")->setText("46.0N 7.0E");
        child<QLineEdit>(panel, "radius")->setText("50");
        child<QCheckBox>(panel, "autoSimplify")->setChecked(true);
        EXPECT_FALSE(child<QLineEdit>(panel, "simplify")->isEnabled());
        child<QLineEdit>(panel, "autoCeiling")->setText("250");
        child<QCheckBox>(panel, "clip")->setChecked(true);
        child<QLineEdit>(panel, "preferredTypes")->setText("R, CTR");
        QTest::mouseClick(child<QPushButton>(panel, "apply"), Qt::LeftButton);
        said = child<QPlainTextEdit>(panel, "outcome")->toPlainText();
        panel.reject();
    });
    std::vector<int> selected;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) selected.push_back(row);
    }
    EXPECT_EQ(selected, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(said.contains("1 always included.")) << said.toStdString();
    EXPECT_TRUE(said.contains("Auto chose 0 m.")) << said.toStdString();
    EXPECT_TRUE(said.contains("Never included:\n    Delta")) << said.toStdString();
    EXPECT_EQ(profile.numbers["Settings/SelectAutoSimplify"], 1);
    EXPECT_EQ(profile.texts["Settings/SelectAutoCeiling"], "250");
    EXPECT_EQ(profile.numbers["Settings/SelectClip"], 1);
    EXPECT_EQ(profile.texts["Settings/SelectPreferredTypes"], "R, CTR");

    // "Selected only" hides Delta and keeps every line where it was.
    QTest::mouseClick(child<QCheckBox>(dialog, id(zonesend::kIdSelectedOnly)), Qt::LeftButton);
    EXPECT_TRUE(list->isRowHidden(3));
    EXPECT_FALSE(list->isRowHidden(2));
    EXPECT_EQ(list->count(), 4);
    QTest::mouseClick(child<QCheckBox>(dialog, id(zonesend::kIdSelectedOnly)), Qt::LeftButton);
    EXPECT_FALSE(list->isRowHidden(3));
}

// After a second file is loaded, nothing on show belongs to the first: no preview, no airspace
// line, and a map without the first file's take-off point and radius.
TEST(SelectionStrip, ASecondFileShowsNothingOfTheFirst) {
    const zstest::StringsInstalled strings(seriallink::Language::English);
    const zstest::PortDir ports;
    const zstest::TempDir files;
    const std::string first =
        files.write("first.txt", zstest::squareText("Alpha", "CTR", 5, "GND") +
                                     zstest::squareText("Bravo", "CTR", 10, "GND"));
    const std::string second = files.write(
        "second.txt", zstest::triangleText("Far One") + zstest::triangleText("Far Two", 1));
    std::string chosen = first;
    zonesend::AirspaceSetupApp app;
    AirspaceSetupDialog dialog(app, stripOptions(chosen, nullptr));
    auto* load = child<QPushButton>(dialog, id(zonesend::kIdLoadFile));
    auto* list = child<QListWidget>(dialog, id(zonesend::kIdAirspaceList));
    auto* info = child<QLabel>(dialog, id(zonesend::kIdAirspaceInfo));
    const auto clickLine = [&](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    };

    for (const bool map : {false, true}) {
        chosen = first;
        QTest::mouseClick(load, Qt::LeftButton);
        dialog.OnSelect([&](QDialog& panel) {
            child<QLineEdit>(panel, "takeOff")->setText("46.0N 7.0E");
            QTest::mouseClick(child<QPushButton>(panel, "apply"), Qt::LeftButton);
            panel.reject();
        });
        ASSERT_TRUE(dialog.selectionPanel().appliedTakeOff().has_value());
        dialog.showMap(map);
        clickLine(1);
        ASSERT_FALSE(info->text().isEmpty());
        ASSERT_FALSE(dialog.previewImage().isNull());

        chosen = second;
        QTest::mouseClick(load, Qt::LeftButton);
        ASSERT_EQ(list->count(), 2);
        EXPECT_TRUE(info->text().isEmpty()) << map;
        EXPECT_FALSE(dialog.selectionPanel().appliedTakeOff().has_value()) << map;
        EXPECT_TRUE(dialog.selectionPanel().lastText().empty()) << map;
        if (!map) {
            EXPECT_TRUE(dialog.previewImage().isNull());
        }

        clickLine(0);
        EXPECT_EQ(info->text().toStdString(),
                  zonesend::airspaceInfoText(dialog.logic().airspaces()[0]));
        std::vector<unsigned> lines;
        ASSERT_TRUE(dialog.selectedLines(lines));
        const zonesend::MapRequest request = zonesend::selectionMapRequest(
            dialog.logic().airspaces(), lines, 0, true, dialog.selectionPanel());
        EXPECT_FALSE(request.takeOff.has_value()) << map;
        dialog.showMap(false);
    }
}

// "Add File" appends a neighbour's file: its lines follow, an airspace both files hold is listed
// once, the file line names both files and the info line the file of a line. "Load File" still
// replaces everything. The flying date of the panel leaves out what is not active that day.
TEST(SelectionStrip, AddFileAppendsAndTheFlyingDateSelectsByActivation) {
    const zstest::StringsInstalled strings(seriallink::Language::English);
    const zstest::PortDir ports;
    const zstest::TempDir files;
    const std::string border = zstest::squareText("Border CTR", "D", 20, "GND");
    const std::string first =
        files.write("FR.txt", zstest::squareText("Alpha", "R", 5, "GND") + border);
    const std::string second = files.write(
        "CH.openair", "* VERSION: 2.0\n* WRITTEN_BY: test\n" + border +
                          "AC G\nAY GLIDING_SECTOR\nAN Wildlife\nAA 2026-03-01T00:00Z/"
                          "2026-06-30T24:00Z\nAF 123.450\nAG Sion Info\nAX 7000\nAL GND\n"
                          "AH FL100\nDP 46:30:00 N 007:00:00 E\nDP 46:31:00 N 007:00:00 E\n"
                          "DP 46:31:00 N 007:01:00 E\nDP 46:30:00 N 007:00:00 E\n"
                          "AC G\nAY R\nAN Notam zone\nAA NONE\nAL GND\nAH FL100\n"
                          "DP 46:40:00 N 007:00:00 E\nDP 46:41:00 N 007:00:00 E\n"
                          "DP 46:41:00 N 007:01:00 E\nDP 46:40:00 N 007:00:00 E");
    zonesend::AirspaceSetupApp app;
    std::string chosen = first;
    AirspaceSetupDialog dialog(app, stripOptions(chosen, nullptr));
    auto* list = child<QListWidget>(dialog, id(zonesend::kIdAirspaceList));
    auto* addFile = child<QPushButton>(dialog, id(zonesend::kIdAddFile));
    ASSERT_NE(addFile, nullptr);
    EXPECT_EQ(addFile->text(), "Add File");
    QTest::mouseClick(child<QPushButton>(dialog, id(zonesend::kIdLoadFile)), Qt::LeftButton);
    ASSERT_EQ(list->count(), 2);
    list->item(0)->setSelected(true);
    chosen = second;
    QTest::mouseClick(addFile, Qt::LeftButton);

    std::vector<std::string> names;
    for (int row = 0; row < list->count(); ++row) {
        names.push_back(list->item(row)->text().mid(6, 12).trimmed().toStdString());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "Border CTR", "Wildlife", "Notam zone"}));
    EXPECT_TRUE(list->item(0)->isSelected());  // the selection stays
    EXPECT_EQ(child<QLabel>(dialog, id(zonesend::kIdFileLine))->text().toStdString(),
              first + "; " + second);
    auto* info = child<QLabel>(dialog, id(zonesend::kIdAirspaceInfo));
    list->setCurrentRow(2, QItemSelectionModel::Toggle);
    EXPECT_EQ(info->text(),
              "Wildlife - type Gliding sector (GSEC), class G, GND to FL100, active "
              "2026-03-01 - 2026-07-01 UTC, radio 123.450 Sion Info, transponder 7000, from "
              "CH.openair");
    list->setCurrentRow(1, QItemSelectionModel::Toggle);
    EXPECT_EQ(info->text(), "Border CTR - type D, class D, GND to FL195, also in CH.openair");

    // On 2026-07-15 the wildlife zone is not active; the NOTAM-only zone is kept and named.
    QString said;
    dialog.OnSelect([&](QDialog& panel) {
        auto* date = child<QLineEdit>(panel, "flyingDate");
        EXPECT_EQ(date->text().toStdString(), zonesend::SelectionChoices::todayText());
        date->setText("2026-07-15");
        QTest::mouseClick(child<QPushButton>(panel, "apply"), Qt::LeftButton);
        said = child<QPlainTextEdit>(panel, "outcome")->toPlainText();
        child<QCheckBox>(panel, "leaveOutNotamOnly")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(panel, "apply"), Qt::LeftButton);
        panel.reject();
    });
    EXPECT_EQ(said.toStdString(),
              "3 matched, 3 selected: 50 bytes, 4 blocks.\n"
              "1 of them active only by NOTAM: check the NOTAMs before the flight.\n"
              "    Notam zone");
    std::vector<int> selected;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) selected.push_back(row);
    }
    EXPECT_EQ(selected, (std::vector<int>{0, 1}));
    // The date stays for the next opening.
    EXPECT_EQ(dialog.selectionPanel().choices().flyingDate, "2026-07-15");

    // Load File replaces both files.
    chosen = first;
    QTest::mouseClick(child<QPushButton>(dialog, id(zonesend::kIdLoadFile)), Qt::LeftButton);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(child<QLabel>(dialog, id(zonesend::kIdFileLine))->text().toStdString(), first);
}

}  // namespace
