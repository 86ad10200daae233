// The main dialog driven through its widgets, off screen: loading, selection totals and the
// 228-block warning, the preview, the port scan in a port directory, sending, the profile, the
// About box and both languages.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>

#include "airspace/AirspaceFile.h"
#include "bench/NationalAirspace.h"
#include "shell/qt/QtProfileStore.h"
#include "shell/qt/QtTranslations.h"
#include "tests/zonesend/ZonesendTestSupport.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/AboutDialog.h"
#include "zonesend/gui/AirspaceSetupDialog.h"
#include "zonesend/gui/AirspaceSetupProgram.h"

namespace {

using seriallink::MessageAnswer;
using seriallink::MessageBoxRequest;
using zonesend::AirspaceSetupDialog;

constexpr const char* kTooMuch =
    "You can not load more than 3192 bytes/228 blocks of airspace data into Quillon\n"
    "Please reduce selected airspaces.";

// 228 triangles (lines 0-227), a circle (228) and an arc (229): 228 triangles make exactly
// 3192 bytes; 226 triangles, the circle and the arc make 3193.
std::string limitFile() {
    std::string text;
    for (int i = 0; i < 228; ++i) text += zstest::triangleText("Triangle " + std::to_string(i), i);
    return text + zstest::circleText("Circle") + zstest::arcText("Arc");
}

class DialogTest : public ::testing::Test {
protected:
    std::unique_ptr<zstest::StringsInstalled> strings =
        std::make_unique<zstest::StringsInstalled>(seriallink::Language::English);
    std::unique_ptr<zstest::PortDir> ports = std::make_unique<zstest::PortDir>();
    zstest::TempDir files;
    zonesend::AirspaceSetupApp app;
    std::vector<MessageBoxRequest> shown;
    std::deque<MessageAnswer> answers;
    std::function<void(const MessageBoxRequest&)> onMessage;
    std::deque<std::optional<std::string>> chosenFiles;
    int aboutShown = 0;
    std::unique_ptr<AirspaceSetupDialog> dialog;

    void TearDown() override { dialog.reset(); }

    AirspaceSetupDialog::Options options() {
        AirspaceSetupDialog::Options o;
        o.messageBox = [this](const MessageBoxRequest& request) {
            shown.push_back(request);
            if (onMessage) onMessage(request);
            if (request.buttons == seriallink::MessageButtons::Ok) return MessageAnswer::Ok;
            MessageAnswer answer = answers.empty() ? MessageAnswer::Yes : answers.front();
            if (!answers.empty()) answers.pop_front();
            return answer;
        };
        o.chooseFile = [this](const std::string&, const std::string&) {
            std::optional<std::string> file;
            if (!chosenFiles.empty()) {
                file = chosenFiles.front();
                chosenFiles.pop_front();
            }
            return file;
        };
        o.aboutBox = [this] { ++aboutShown; };
        return o;
    }
    void open() { dialog = std::make_unique<AirspaceSetupDialog>(app, options()); }
    void showActive() {
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    template <typename T>
    T* control(int id) const {
        return dialog->findChild<T*>(QString::number(id));
    }
    QListWidget* list() const { return control<QListWidget>(zonesend::kIdAirspaceList); }
    QComboBox* combo() const { return control<QComboBox>(zonesend::kIdPortCombo); }
    QString text(int id) const {
        if (auto* label = control<QLabel>(id)) return label->text();
        if (auto* button = control<QPushButton>(id)) return button->text();
        return {};
    }
    QStringList comboEntries() const {
        QStringList entries;
        for (int i = 0; i < combo()->count(); ++i) entries << combo()->itemText(i);
        return entries;
    }
    void load(const std::string& path) {
        chosenFiles.push_back(path);
        QTest::mouseClick(control<QPushButton>(zonesend::kIdLoadFile), Qt::LeftButton);
    }
    void click(int id) { QTest::mouseClick(control<QPushButton>(id), Qt::LeftButton); }
    // A click on a line toggles it, as the pilot's click does.
    void clickLine(int row) {
        QListWidgetItem* item = list()->item(row);
        list()->scrollToItem(item);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(item).center());
    }
    void clickLines(int first, int last) {
        for (int row = first; row <= last; ++row) clickLine(row);
    }
    std::pair<QString, QString> totals() const {
        return {text(zonesend::kIdBlocksValue), text(zonesend::kIdBytesValue)};
    }
    int countShown(const std::string& text) const {
        return static_cast<int>(std::count_if(shown.begin(), shown.end(),
                                              [&](const auto& m) { return m.text == text; }));
    }
};

TEST(DialogUnits, ConvertedFromTheFontLikeTheDialogManager) {
    const shell::QtDialogUnits units(6, 13);
    EXPECT_EQ(units.X(530), 795);
    EXPECT_EQ(units.Y(302), 491);
    EXPECT_EQ(units.X(87), 131);  // 130.5 rounds up
    EXPECT_EQ(units.Y(14), 23);   // 22.75
    EXPECT_EQ(shell::QtDialogUnits::AverageCharWidth(286), 6);
}

TEST_F(DialogTest, ControlsFollowTheTemplate) {
    open();
    const shell::QtDialogUnits& units = dialog->baseUnits();
    for (const zonesend::ControlTemplate& item : zonesend::mainDialogControls()) {
        QWidget* widget = dialog->findChild<QWidget*>(QString::number(item.id));
        ASSERT_NE(widget, nullptr) << item.id;
        EXPECT_EQ(widget->x(), units.X(item.place.x)) << item.id;
        EXPECT_EQ(widget->y(), units.Y(item.place.y)) << item.id;
        EXPECT_EQ(widget->width(), units.X(item.place.width)) << item.id;
        if (item.kind != zonesend::ControlKind::ComboBox) {
            EXPECT_EQ(widget->height(), units.Y(item.place.height)) << item.id;
        }
    }
    EXPECT_EQ(dialog->width(), units.X(530));
    EXPECT_EQ(dialog->height(), units.Y(302));

    // Tab order is template order.
    const std::vector<int> tabOrder = {2, 1000, 1003, 1004, 1005, 1010, 1011};
    QWidget* widget = control<QWidget>(tabOrder[0]);
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        do {
            widget = widget->nextInFocusChain();
        } while (widget->focusPolicy() == Qt::NoFocus || widget->parent() != dialog.get());
        EXPECT_EQ(widget->objectName(), QString::number(tabOrder[i]));
    }
    for (int id : {2, 1000, 1004, 1010, 1011}) {
        EXPECT_FALSE(control<QPushButton>(id)->isDefault()) << id;
        EXPECT_FALSE(control<QPushButton>(id)->autoDefault()) << id;
    }

    // The list and its header share a fixed-pitch font.
    EXPECT_TRUE(QFontInfo(list()->font()).fixedPitch());
    EXPECT_EQ(control<QLabel>(zonesend::kIdHeaderLine)->font(), list()->font());

    // The preview area: right of the list, below the buttons, above the file line.
    const QRect preview = dialog->previewRect();
    EXPECT_EQ(preview.left(), list()->geometry().right() + 1 + 2);
    EXPECT_EQ(preview.top(), control<QWidget>(zonesend::kIdExit)->geometry().bottom() + 1 + 5);
    EXPECT_EQ(preview.right() + 1, dialog->width() - 5);
    EXPECT_EQ(preview.bottom() + 1, control<QWidget>(zonesend::kIdFileLine)->y() - 5);
    dialog->resize(dialog->width() + 100, dialog->height() + 50);
    EXPECT_EQ(dialog->previewRect(), preview);
    EXPECT_EQ(list()->x(), units.X(7));
}

// The header shows the list font: taller than the dialog font, it must not cut the descenders.
TEST_F(DialogTest, HeaderIsTallEnoughForTheListFont) {
    for (int points : {8, 14}) {
        AirspaceSetupDialog::Options o = options();
        o.listFont = QFont(QStringLiteral("DejaVu Sans Mono"), points);
        dialog = std::make_unique<AirspaceSetupDialog>(app, o);
        const QLabel* header = control<QLabel>(zonesend::kIdHeaderLine);
        EXPECT_GE(header->height(), QFontMetrics(header->font()).height()) << points;
        EXPECT_LE(header->geometry().bottom(), list()->y()) << points;
        EXPECT_GE(header->y(), 0) << points;
    }
}

// Qt's own texts follow the program's language once its translation is installed.
TEST(QtTranslations, ButtonsAndFileDialogInGerman) {
    const auto yesText = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.button(QMessageBox::Yes)->text();
    };
    EXPECT_EQ(shell::InstallQtTranslations(seriallink::Language::English), nullptr);
    EXPECT_EQ(yesText(), "&Yes");
    {
        const auto german = shell::InstallQtTranslations(seriallink::Language::German);
        ASSERT_NE(german, nullptr) << "Qt's German translation (qt6-translations-l10n) is missing";
        EXPECT_EQ(yesText(), "&Ja");
        QFileDialog files;
        files.setOption(QFileDialog::DontUseNativeDialog);
        const QLabel* lookIn = files.findChild<QLabel*>(QStringLiteral("lookInLabel"));
        ASSERT_NE(lookIn, nullptr);
        EXPECT_EQ(lookIn->text(), "Suchen in:");
    }
    EXPECT_EQ(yesText(), "&Yes");
}

TEST_F(DialogTest, TextsInEnglishAndGerman) {
    struct Case {
        seriallink::Language language;
        std::vector<std::pair<int, QString>> texts;
        QString title, about, fileLine;
    };
    const std::vector<Case> cases = {
        {seriallink::Language::English,
         {{1016, "File:"},
          {1012, "Blocks used:"},
          {1014, "Bytes used:"},
          {1017, "Port:"},
          {1004, "Load File"},
          {1010, "Select &All"},
          {1011, "Select &None"},
          {1000, "Send Airspace"},
          {2, "Exit"}},
         "Airspace Setup",
         "Inf&o about Airspace...",
         "No file selected"},
        {seriallink::Language::German,
         {{1016, "Datei:"},
          {1012, "Blöcke benötigt:"},
          {1014, "Bytes benötigt:"},
          {1017, "Port:"},
          {1004, "Öffne Datei"},
          {1010, "&Alle Markieren"},
          {1011, "&Nichts Markieren"},
          {1000, "Sende Lufträume"},
          {2, "Beenden"}},
         "Airspace Setup",
         "Inf&o über Airspace...",
         "Keine Datei gewählt"},
    };
    for (const Case& c : cases) {
        strings.reset();
        strings = std::make_unique<zstest::StringsInstalled>(c.language);
        shown.clear();
        open();
        for (const auto& [id, expected] : c.texts) EXPECT_EQ(text(id), expected) << id;
        EXPECT_EQ(dialog->windowTitle(), c.title);
        EXPECT_EQ(text(zonesend::kIdFileLine), c.fileLine);
        EXPECT_EQ(text(zonesend::kIdHeaderLine),
                  "Class Name                 Floor      Ceiling    Size    ");
        const auto* about = dialog->findChild<QAction*>("about");
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->text(), c.about);
        ASSERT_EQ(shown.size(), 1u);  // no port in the port directory
        EXPECT_EQ(shown[0].caption,
                  c.language == seriallink::Language::German ? "Fehler" : "Error");

        zonesend::AboutDialog box(dialog->baseUnits());
        EXPECT_EQ(box.windowTitle(), c.language == seriallink::Language::German
                                         ? "Info über Airspace"
                                         : "Info about Airspace");
        EXPECT_EQ(box.findChild<QLabel*>("1018")->text(), "Airspace Version 0.9");
        EXPECT_EQ(box.findChild<QPushButton*>("1")->text(), "OK");
        EXPECT_TRUE(box.findChild<QPushButton*>("1")->isDefault());
        // The language row: the language shown is preselected; picking it again only remembers
        // it (a pick of another would tell that it applies at the next start).
        zstest::MemoryProfile profile;
        zonesend::AboutDialog chooser(dialog->baseUnits(), nullptr, &profile);
        auto* languages = chooser.findChild<QComboBox*>("language");
        ASSERT_NE(languages, nullptr);
        EXPECT_EQ(chooser.findChild<QLabel*>("languageLabel")->text(),
                  c.language == seriallink::Language::German ? "Sprache:" : "Language:");
        EXPECT_EQ(languages->count(), 3);
        EXPECT_EQ(languages->currentText().toStdString(), seriallink::LanguageName(c.language));
        emit languages->activated(languages->currentIndex());
        EXPECT_EQ(profile.readText("Settings", "Language", ""),
                  seriallink::LanguageCode(c.language));
        dialog.reset();
    }
}

TEST_F(DialogTest, LoadingTheSampleAndAFileThatIsMissing) {
    const std::string sample = std::string(QUILLON_SOURCE_DIR) + "/samples/demo.txt";
    ASSERT_TRUE(std::filesystem::exists(sample));
    const airspace::LoadResult expected = airspace::loadAirspaceFile(sample);
    ASSERT_EQ(expected.status, airspace::LoadStatus::Ok);
    ASSERT_FALSE(expected.records.empty());
    open();
    shown.clear();

    QTest::mouseClick(control<QPushButton>(zonesend::kIdLoadFile), Qt::LeftButton);  // cancel
    EXPECT_EQ(list()->count(), 0);
    EXPECT_EQ(text(zonesend::kIdFileLine), "No file selected");

    load(sample);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(text(zonesend::kIdFileLine), QString::fromStdString(sample));
    ASSERT_EQ(list()->count(), static_cast<int>(expected.records.size()));
    for (int i = 0; i < list()->count(); ++i) {
        EXPECT_EQ(list()->item(i)->text().toStdString(),
                  expected.records[static_cast<std::size_t>(i)].listLine());
    }
    clickLine(0);
    EXPECT_NE(totals().second, "0");

    // Cancelling changes nothing.
    QTest::mouseClick(control<QPushButton>(zonesend::kIdLoadFile), Qt::LeftButton);
    EXPECT_NE(totals().second, "0");
    EXPECT_EQ(text(zonesend::kIdFileLine), QString::fromStdString(sample));

    const std::string missing = files.path() + "/gone.txt";
    load(missing);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].icon, seriallink::MessageIcon::Exclamation);
    EXPECT_EQ(shown[0].text, airspace::loadAirspaceFile(missing).systemErrorText);
    EXPECT_FALSE(shown[0].text.empty());
    // The previous file stays whole: its list, selection, totals and file line.
    EXPECT_EQ(list()->count(), static_cast<int>(expected.records.size()));
    EXPECT_TRUE(list()->item(0)->isSelected());
    EXPECT_NE(totals().second, "0");
    EXPECT_EQ(text(zonesend::kIdFileLine), QString::fromStdString(sample));
}

// Files that are not OpenAir load nothing and say so, in the pilot's language; whatever was
// loaded before stays as it was, with its selection, totals and preview.
TEST_F(DialogTest, AWrongFileIsNamedAndTheLoadedOneStays) {
    const std::string sample = std::string(QUILLON_SOURCE_DIR) + "/samples/demo.txt";
    const std::string hex = std::string(QUILLON_SOURCE_DIR) + "/samples/demo-firmware.hex";
    const std::string jpeg = files.write(
        "photo.jpg", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01", 16) +
                         std::string(4000, '\x7F') + "\xFF\xD9");
    const std::string empty = files.write("empty.txt", "");
    const struct {
        seriallink::Language language;
        std::string path;
        std::string text;
    } cases[] = {
        {seriallink::Language::English, hex,
         "No airspace was found in this file: is this an OpenAir file?\n" + hex},
        {seriallink::Language::English, jpeg,
         "No airspace was found in this file: is this an OpenAir file?\n" + jpeg},
        {seriallink::Language::German, empty,
         "In dieser Datei wurde kein Luftraum gefunden: ist das eine OpenAir Datei?\n" + empty},
    };
    for (const auto& c : cases) {
        strings.reset();
        strings = std::make_unique<zstest::StringsInstalled>(c.language);
        open();
        load(sample);
        clickLine(1);
        clickLine(3);
        const auto totalsBefore = totals();
        const QImage previewBefore = dialog->previewImage();
        ASSERT_FALSE(previewBefore.isNull());
        shown.clear();

        load(c.path);
        ASSERT_EQ(shown.size(), 1u) << c.path;
        EXPECT_EQ(shown[0].text, c.text);
        EXPECT_EQ(shown[0].caption,
                  c.language == seriallink::Language::German ? "Fehler" : "Error");
        EXPECT_EQ(shown[0].icon, seriallink::MessageIcon::Exclamation);
        EXPECT_EQ(text(zonesend::kIdFileLine), QString::fromStdString(sample));
        EXPECT_EQ(list()->count(), static_cast<int>(dialog->logic().airspaces().size()));
        EXPECT_GT(list()->count(), 3);
        EXPECT_EQ(list()->selectedItems().size(), 2);
        EXPECT_EQ(totals(), totalsBefore);
        EXPECT_EQ(dialog->previewImage(), previewBefore);
        dialog.reset();
    }
}

TEST_F(DialogTest, NamesInLatin1AndUtf8KeepTheColumns) {
    open();
    const std::string latin1 =
        "AC R\nAN Z\xFCrich S\xFC"
        "d Sektor lang\nAL GND\nAH FL50\n"
        "DP 47:00:00 N 008:00:00 E\nDP 47:05:00 N 008:00:00 E\n"
        "DP 47:05:00 N 008:05:00 E\n";
    const std::string utf8 = zstest::triangleText("Zürich Süd Sektor lang");
    const std::string ascii = zstest::triangleText("Zurich Sud Sektor lang");
    for (const std::string& content : {latin1, utf8}) {
        load(files.write("names.txt", content + ascii));
        ASSERT_EQ(list()->count(), 2);
        EXPECT_TRUE(list()->item(0)->text().contains(QStringLiteral("Zürich Süd")));
        EXPECT_EQ(list()->item(0)->text().size(), list()->item(1)->text().size());
        const QFontMetrics metrics(list()->font());
        EXPECT_EQ(metrics.horizontalAdvance(list()->item(0)->text()),
                  metrics.horizontalAdvance(list()->item(1)->text()));
    }
}

TEST_F(DialogTest, TotalsAndTheWarningAtTheLimit) {
    open();
    load(files.write("limit.txt", limitFile()));
    shown.clear();
    ASSERT_EQ(list()->count(), 230);

    clickLines(0, 227);
    EXPECT_EQ(totals(), std::make_pair(QString("228"), QString("3192")));
    EXPECT_TRUE(shown.empty());

    click(zonesend::kIdSelectNone);
    EXPECT_EQ(totals(), std::make_pair(QString("0"), QString("0")));
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    clickLines(0, 225);
    clickLine(228);
    EXPECT_EQ(totals().second, "3172");
    clickLine(229);
    EXPECT_EQ(totals(), std::make_pair(QString("229"), QString("3193")));
    EXPECT_EQ(countShown(kTooMuch), 1);
    EXPECT_EQ(list()->selectedItems().size(), 228);  // the warning changes no selection

    // Once only: below and above the limit again does not warn again.
    clickLine(229);
    EXPECT_EQ(totals(), std::make_pair(QString("227"), QString("3172")));
    clickLine(229);
    EXPECT_EQ(totals().second, "3193");
    EXPECT_EQ(countShown(kTooMuch), 1);

    // Select None starts afresh.
    click(zonesend::kIdSelectNone);
    clickLines(0, 227);
    clickLine(228);
    EXPECT_EQ(countShown(kTooMuch), 2);

    // Select All warns every time.
    click(zonesend::kIdSelectAll);
    EXPECT_EQ(countShown(kTooMuch), 3);
    EXPECT_EQ(totals(), std::make_pair(QString("231"), QString("3221")));
    click(zonesend::kIdSelectAll);
    EXPECT_EQ(countShown(kTooMuch), 4);
    EXPECT_EQ(list()->selectedItems().size(), 230);

    // A new file clears the warning's memory and the totals.
    load(files.write("limit.txt", limitFile()));
    EXPECT_EQ(totals(), std::make_pair(QString("0"), QString("0")));
    EXPECT_FALSE(dialog->logic().limitWarned());
}

TEST_F(DialogTest, PreviewOfTheClickedLineStaysUntilTheNextClick) {
    open();
    load(files.write("zones.txt", zstest::triangleText("First") + zstest::arcText("Second") +
                                      zstest::brokenText("Broken")));
    EXPECT_TRUE(dialog->previewImage().isNull());
    clickLine(0);
    const QImage first = dialog->previewImage();
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), dialog->previewRect().size());
    clickLine(1);
    EXPECT_NE(dialog->previewImage(), first);

    // Deselecting line 0 draws line 0 all the same.
    clickLine(0);
    EXPECT_FALSE(list()->item(0)->isSelected());
    EXPECT_EQ(dialog->previewImage(), first);

    // Select All and Select None leave the preview alone; a repaint shows it still.
    click(zonesend::kIdSelectAll);
    click(zonesend::kIdSelectNone);
    EXPECT_EQ(dialog->previewImage(), first);
    const QImage window = dialog->grab().toImage();
    const QImage shownPart = window.copy(dialog->previewRect()).convertToFormat(first.format());
    EXPECT_EQ(shownPart, first);

    // An airspace without an encoding: the frame, the name and the bar, no outline.
    clickLine(2);
    EXPECT_FALSE(dialog->previewImage().isNull());
}

TEST_F(DialogTest, PortScanFollowsThePortDirectory) {
    ports->add(3);
    ports->add(12);
    app.commPort = "COM1";  // absent: the prefix search finds COM12
    open();
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(comboEntries(), (QStringList{"COM3", "COM12"}));
    EXPECT_EQ(combo()->currentText(), "COM12");
    showActive();

    // One new port: the question, answered No, then Yes. The first comes from the real timer.
    ports->add(7);
    answers = {MessageAnswer::No};
    QTRY_COMPARE_WITH_TIMEOUT(static_cast<int>(shown.size()), 1, 3000);
    EXPECT_EQ(shown[0].text, "A new Com Port was found.\nShould it be selected?");
    EXPECT_EQ(shown[0].caption, "Info");
    EXPECT_EQ(shown[0].buttons, seriallink::MessageButtons::YesNo);
    EXPECT_EQ(comboEntries(), (QStringList{"COM3", "COM7", "COM12"}));
    EXPECT_EQ(combo()->currentText(), "COM12");

    ports->add(9);
    answers = {MessageAnswer::Yes};
    dialog->logic().OnTimer(zonesend::kPortScanTimerId);
    EXPECT_EQ(shown.size(), 2u);
    EXPECT_EQ(combo()->currentText(), "COM9");

    // Several new ports: the notice.
    ports->add(4);
    ports->add(10);
    dialog->logic().OnTimer(zonesend::kPortScanTimerId);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].text, "2 new Com Ports was found (COM4, COM10).");
    EXPECT_EQ(shown[2].buttons, seriallink::MessageButtons::Ok);
    EXPECT_EQ(combo()->currentText(), "COM9");

    // Ports vanish: silently, the selection kept while its port is there.
    ports->remove(3);
    ports->remove(4);
    dialog->logic().OnTimer(zonesend::kPortScanTimerId);
    EXPECT_EQ(shown.size(), 3u);
    EXPECT_EQ(comboEntries(), (QStringList{"COM7", "COM9", "COM10", "COM12"}));
    EXPECT_EQ(combo()->currentText(), "COM9");

    // The pilot's choice is remembered for the next start.
    combo()->setCurrentIndex(2);
    emit combo()->activated(2);
    EXPECT_EQ(app.commPort, "COM10");

    for (unsigned n : {7u, 9u, 10u, 12u}) ports->remove(n);
    dialog->logic().OnTimer(zonesend::kPortScanTimerId);
    EXPECT_TRUE(comboEntries().isEmpty());
    EXPECT_FALSE(control<QPushButton>(zonesend::kIdSendAirspace)->isEnabled());
    EXPECT_EQ(shown.size(), 3u);

    // The only port appearing is selected without a question.
    ports->add(5);
    dialog->logic().OnTimer(zonesend::kPortScanTimerId);
    EXPECT_EQ(comboEntries(), QStringList{"COM5"});
    EXPECT_TRUE(control<QPushButton>(zonesend::kIdSendAirspace)->isEnabled());
    EXPECT_EQ(shown.size(), 3u);

    // Not while another window is active.
    dialog->hide();
    ports->add(6);
    dialog->logic().OnTimer(zonesend::kPortScanTimerId);
    EXPECT_EQ(comboEntries(), QStringList{"COM5"});
}

TEST_F(DialogTest, WithoutPortsTheDialogStillWorks) {
    open();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "No Com Port is available");
    EXPECT_TRUE(comboEntries().isEmpty());
    showActive();
    dialog->logic().OnTimer(zonesend::kPortScanTimerId);
    EXPECT_FALSE(control<QPushButton>(zonesend::kIdSendAirspace)->isEnabled());
    EXPECT_EQ(shown.size(), 1u);
    load(files.write("zones.txt", zstest::triangleText("A")));
    clickLine(0);
    EXPECT_EQ(totals().second, "14");
}

TEST_F(DialogTest, SendingFromTheDialog) {
    ports.reset();
    zstest::StoreSim sim;
    ASSERT_TRUE(sim.started()) << sim.error();
    open();
    EXPECT_EQ(comboEntries(), QStringList{"COM5"});
    showActive();
    load(files.write("zones.txt", zstest::triangleText("A") + zstest::circleText("B") +
                                      zstest::brokenText("C")));
    shown.clear();

    click(zonesend::kIdSendAirspace);
    EXPECT_EQ(shown.back().text, "No data selected");
    clickLine(2);
    click(zonesend::kIdSendAirspace);  // only an airspace without bytes
    EXPECT_EQ(shown.back().text, "The selected airspaces hold no outline data");
    EXPECT_TRUE(sim.logLines().size() <= 1);

    clickLine(0);
    clickLine(1);
    click(zonesend::kIdSendAirspace);
    EXPECT_EQ(shown.back().text, "Download succeded");
    EXPECT_EQ(shown.back().caption, "Airspace Setup");
    EXPECT_EQ(shown.back().icon, seriallink::MessageIcon::Information);
    EXPECT_EQ(dialog->logic().lastUploadOutcome(), zonesend::UploadOutcome::Succeeded);
    // The preselected port, never touched, is remembered because it worked.
    EXPECT_EQ(app.commPort, "COM5");
    EXPECT_EQ(list()->selectedItems().size(), 3);
    EXPECT_EQ(totals().second, "22");
    EXPECT_FALSE(dialog->logic().sending());
}

TEST_F(DialogTest, NoPortScanWhileTheUploadHoldsThePort) {
    ports.reset();
    zstest::StoreSim sim({"--free", "0"});
    ASSERT_TRUE(sim.started()) << sim.error();
    open();
    showActive();
    load(files.write("zones.txt", zstest::triangleText("A")));
    clickLine(0);
    shown.clear();
    // A port appears while the upload's message is open; the scan keeps quiet meanwhile.
    onMessage = [&](const MessageBoxRequest&) {
        std::filesystem::create_symlink("/dev/null", sim.dir() + "/COM8");
        EXPECT_TRUE(dialog->logic().sending());
        dialog->logic().OnTimer(zonesend::kPortScanTimerId);
        onMessage = nullptr;
    };
    click(zonesend::kIdSendAirspace);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Not enough free space.  14 bytes required but only  0 bytes free.");
    EXPECT_EQ(comboEntries(), QStringList{"COM5"});
    EXPECT_FALSE(dialog->logic().sending());
    dialog->logic().OnTimer(zonesend::kPortScanTimerId);
    EXPECT_EQ(shown.back().text, "A new Com Port was found.\nShould it be selected?");
}

TEST_F(DialogTest, KeysAndTheAboutBox) {
    ports->add(3);
    open();
    showActive();
    QTest::keyClick(dialog.get(), Qt::Key_F1);
    EXPECT_EQ(aboutShown, 1);
    dialog->logic().OnSysCommand(zonesend::kAboutCommand | 0x2);
    EXPECT_EQ(aboutShown, 2);
    dialog->logic().OnSysCommand(0xF060);
    EXPECT_EQ(aboutShown, 2);

    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    showActive();
    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    // The keypad's Enter ends the dialog as well, and presses a button that has the focus.
    showActive();
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    showActive();
    control<QPushButton>(zonesend::kIdExit)->setFocus();
    QTest::keyClick(control<QPushButton>(zonesend::kIdExit), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(DialogTest, RealMessageBoxes) {
    // Without a stand-in the dialog shows the platform's box: no port at start.
    AirspaceSetupDialog::Options o = options();
    o.messageBox = nullptr;
    QString seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->windowTitle() + "|" + box->text();
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            box->button(QMessageBox::Ok)->click();
        }
    });
    poll.start(20);
    dialog = std::make_unique<AirspaceSetupDialog>(app, o);
    EXPECT_EQ(seen, "Error|No Com Port is available");
}

// The program reads the profile at start and writes it at a normal end.
TEST(Program, ProfileReadAndWritten) {
    zstest::StringsInstalled strings(seriallink::Language::English);
    zstest::PortDir ports;
    ports.add(3);
    ports.add(4);
    zstest::TempDir home;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(home.path()));
    struct Case {
        int stored;
        int used;
    };
    for (const Case& c : {Case{115200, 115200}, Case{12345, 57600}, Case{-1, 57600}}) {
        {
            shell::QtProfileStore profile("Korvalis", "zonesend");
            if (c.stored >= 0) {
                profile.writeInteger("Settings", "Baudrate", c.stored);
            } else {
                QSettings(profile.fileName(), QSettings::IniFormat).remove("Settings/Baudrate");
            }
            profile.writeText("Settings", "CommPort", "COM3");
        }
        zonesend::AirspaceSetupApp app;
        std::uint32_t rateWhileRunning = 0;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<AirspaceSetupDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            rateWhileRunning = app.baudRate;
            auto* combo = dialog->findChild<QComboBox*>("1005");
            EXPECT_EQ(combo->currentText(), "COM3");
            combo->setCurrentIndex(1);
            emit combo->activated(1);
            dialog->reject();
        });
        shell::QtProfileStore profile("Korvalis", "zonesend");
        zonesend::runAirspaceSetup(app, profile);
        EXPECT_EQ(rateWhileRunning, static_cast<std::uint32_t>(c.used));
        QSettings stored(QString::fromStdString(home.path() + "/Korvalis/zonesend.conf"),
                         QSettings::IniFormat);
        EXPECT_EQ(stored.value("Settings/Baudrate").toInt(), c.used);
        EXPECT_EQ(stored.value("Settings/CommPort").toString(), "COM4");
    }
}

}  // namespace

// A national file of 1,600 airspaces, filled into the list and all selected: both must feel
// immediate. The times are printed for comparison between the toolkits.
TEST_F(DialogTest, ANationalFileFillsTheListAndSelectsAllQuickly) {
    const std::string national =
        files.write("national.txt", airspace::bench::NationalAirspace(1).file(1600));
    open();
    shown.clear();
    const auto started = std::chrono::steady_clock::now();
    load(national);
    const auto filled = std::chrono::steady_clock::now();
    click(zonesend::kIdSelectAll);
    const auto selected = std::chrono::steady_clock::now();
    ASSERT_EQ(list()->count(), 1600);
    EXPECT_EQ(list()->selectedItems().size(), 1600);
    const auto ms = [](auto span) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(span).count();
    };
    std::printf("national file: list filled in %lld ms, Select All in %lld ms\n",
                static_cast<long long>(ms(filled - started)),
                static_cast<long long>(ms(selected - filled)));
    EXPECT_LT(ms(selected - filled), 2000);
}
