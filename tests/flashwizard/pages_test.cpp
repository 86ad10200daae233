// The pages' own behaviour: the file edit and browse dialog, the red label, the progress page's
// path, port sentence and counter, the pictures and the template geometry.
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSvgRenderer>
#include <QSvgWidget>

#include "WizardTestSupport.h"
#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/ui/AboutBox.h"
#include "shell/qt/QtDialogUnits.h"

namespace fwtest {
namespace {

TEST_F(WizardTest, FilePathFollowsEveryKeystrokeAndTheBrowseDialog) {
    WalkTo(2);
    QLineEdit* edit = dlg->fileStep()->pathEdit();
    QTest::keyClicks(edit, "/tmp/a");
    EXPECT_EQ(state.firmwarePath, "/tmp/a");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(state.firmwarePath, "/tmp/");
    edit->clear();
    EXPECT_EQ(state.firmwarePath, "");

    dlg->fileStep()->SetFileChooser([](QWidget*) { return QStringLiteral("/data/QLX_V13.HEX"); });
    QTest::mouseClick(dlg->fileStep()->browseButton(), Qt::LeftButton);
    EXPECT_EQ(edit->text(), "/data/QLX_V13.HEX");
    EXPECT_EQ(state.firmwarePath, "/data/QLX_V13.HEX");

    dlg->fileStep()->SetFileChooser([](QWidget*) { return QString(); });  // cancelled
    QTest::mouseClick(dlg->fileStep()->browseButton(), Qt::LeftButton);
    EXPECT_EQ(state.firmwarePath, "/data/QLX_V13.HEX");

    // Going back and forth keeps the text.
    ClickBack();
    ClickNext();
    EXPECT_EQ(edit->text(), "/data/QLX_V13.HEX");
}

TEST(BrowseFilters, WindowsFilterBecomesDialogFilters) {
    EXPECT_EQ(
        flashwizard::Step2Dlg::DialogFilters("Intel Hex File (*.hex)|*.hex|All Files (*.*)|*.*||"),
        (QStringList{"Intel Hex File (*.hex)", "All Files (*)"}));
}

TEST_F(WizardTest, AttentionLabelStaysRed) {
    WalkTo(4);
    flashwizard::ColorStatic* label =
        dlg->findChild<flashwizard::ColorStatic*>(flashwizard::control::kAttention);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Achtung:");
    ClickBack();
    ClickNext();
    EXPECT_EQ(label->textColor(), QColor(255, 0, 0));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    const QImage image = label->grab().toImage();
    bool redPixel = false;
    for (int y = 0; y < image.height() && !redPixel; ++y) {
        for (int x = 0; x < image.width() && !redPixel; ++x) {
            const QColor c = image.pixelColor(x, y);
            redPixel = c.red() > 200 && c.green() < 80 && c.blue() < 80;
        }
    }
    EXPECT_TRUE(redPixel) << "the text is painted red";
}

TEST_F(WizardTest, ProgressPageShowsFileAndPortWhenShown) {
    WalkTo(6);
    flashwizard::Step6Dlg* page = dlg->progressPage();
    EXPECT_EQ(page->pathLabel()->path().toStdString(), state.firmwarePath);
    EXPECT_EQ(page->portSentence()->text(),
              "wird mit \"Fertigstellen\" über Port COM1 in den Quillon geladen.");
    EXPECT_EQ(page->statusText(), "Bereit zum Download");
    EXPECT_EQ(page->counterText(), "");

    // Another port chosen on step 5 shows when step 6 comes again.
    present = {1, 3};
    state.portsAfterConnect = {1, 3};
    ClickBack();
    dlg->portStep()->combo()->setCurrentIndex(1);
    emit dlg->portStep()->combo()->activated(1);
    ClickNext();
    EXPECT_EQ(page->portSentence()->text(),
              "wird mit \"Fertigstellen\" über Port COM3 in den Quillon geladen.");
}

TEST(ShortenPath, KeepsTheFileNameAndCutsTheMiddle) {
    const QFont font = shell::QtDialogUnits::TemplateFont(8);
    const QFontMetrics metrics(font);
    const QString path = "/home/pilot/Downloads/Korvalis/Firmware/2026/Sommer/QLX_V12.HEX";
    EXPECT_EQ(flashwizard::ShortenPath(path, metrics, 10000), path);

    const int width = metrics.horizontalAdvance("/home/pilot/.../QLX_V12.HEX");
    const QString shortened = flashwizard::ShortenPath(path, metrics, width);
    EXPECT_TRUE(shortened.endsWith("/QLX_V12.HEX")) << shortened.toStdString();
    EXPECT_TRUE(shortened.startsWith("/home/")) << shortened.toStdString();
    EXPECT_TRUE(shortened.contains("...")) << shortened.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(shortened), width);
}

TEST(ShortenPath, FileNamesThatLookLikeMarkupAreShownAsWritten) {
    flashwizard::PathLabel label;
    label.resize(2000, 20);
    label.SetPath("/home/pilot/<b>neu</b>/QLX_V12.HEX");
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    EXPECT_EQ(label.text(), "/home/pilot/<b>neu</b>/QLX_V12.HEX");
    // Shown as markup, "<b>" would vanish and the rest turn bold: measure what is drawn.
    const QImage asText = label.grab().toImage();
    label.setTextFormat(Qt::RichText);
    EXPECT_NE(label.grab().toImage(), asText);
}

TEST_F(WizardTest, ProgressCounterAndBar) {
    WalkTo(6);
    flashwizard::Step6Dlg* page = dlg->progressPage();
    page->SetProgress(0, 120);
    EXPECT_EQ(page->counterText(), "0/120");
    page->SetProgress(37, 0);  // the download does not know the total: the remembered one stays
    EXPECT_EQ(page->counterText(), "37/120");
    EXPECT_EQ(page->progressBar()->maximum(), 120);
    EXPECT_EQ(page->progressBar()->value(), 37);
}

TEST_F(WizardTest, PicturesAndFrameFollowTheTemplates) {
    MakeWizard();
    const shell::QtDialogUnits units(shell::QtDialogUnits::TemplateFont(8));
    EXPECT_EQ(dlg->size(), units.Size(396, 229));
    EXPECT_EQ(dlg->nextButton()->geometry(), units.Rect(284, 208, 50, 14));
    EXPECT_EQ(dlg->page(1)->size(), units.Size(396, 202));

    struct Picture {
        const char* name;
        int page;
        QSize pixels;
    };
    const Picture pictures[] = {
        {"serial_plug.svg", 2, {216, 239}},    {"usb_plug.svg", 2, {317, 239}},
        {"hand_on_off.svg", 3, {181, 154}},    {"back_download.svg", 3, {181, 154}},
        {"download_button.svg", 3, {86, 154}}, {"cotton_bud.svg", 3, {40, 154}},
    };
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.name);
        auto* widget = dlg->page(p.page)->findChild<QSvgWidget*>(p.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_TRUE(widget->renderer()->isValid());
        EXPECT_EQ(widget->size(), p.pixels);
        EXPECT_EQ(widget->renderer()->defaultSize(), p.pixels);
    }
}

// The pages, the frame and the boxes in the pilot's language; German where nothing is chosen.
TEST_F(WizardTest, PagesSpeakTheWizardsLanguage) {
    struct Case {
        const seriallink::StringTable* table;  // null: the wizard's own
        const char* title;
        const char* welcome;
        const char* attention;
        const char* buttons;  // back, next, cancel
        const char* noFile;
        const char* caption;
    };
    const Case cases[] = {
        {nullptr, "Korvalis Downloader 1. Schritt", "KORVALIS DOWNLOADER (deutsch)\nV1.2",
         "Achtung:", "< Zurück|Weiter >|Abbrechen", "Es muss eine Datei gewählt sein!", "Fehler"},
        {&flashwizard::WizardStringsIn(seriallink::Language::French),
         "Korvalis Downloader - étape 1", "KORVALIS DOWNLOADER (français)\nV1.2", "Attention",
         "< Précédent|Suivant >|Annuler", "Vous devez choisir un fichier !", "Erreur"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        flashwizard::UseWizardStrings(c.table);
        MakeWizard();
        EXPECT_EQ(dlg->windowTitle().toStdString(), c.title);
        QStringList welcome;
        for (const QLabel* label : dlg->page(0)->findChildren<QLabel*>()) welcome << label->text();
        EXPECT_TRUE(welcome.contains(QString::fromUtf8(c.welcome)))
            << welcome.join("/").toStdString();
        auto* attention = dlg->page(3)->findChild<QLabel*>(flashwizard::control::kAttention);
        ASSERT_NE(attention, nullptr);
        EXPECT_EQ(attention->text().toStdString(), c.attention);
        EXPECT_EQ((dlg->backButton()->text() + "|" + dlg->nextButton()->text() + "|" +
                   dlg->cancelButton()->text())
                      .toStdString(),
                  c.buttons);
        ClickNext();
        ClickNext();  // step 2 without a file
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_EQ(messages.shown.back().request.text, c.noFile);
        EXPECT_EQ(messages.shown.back().request.caption, c.caption);
        // The About box names the program as page 1 does and preselects the language shown.
        flashwizard::AboutBox about(nullptr, nullptr);
        EXPECT_EQ(about.findChild<QLabel*>("aboutText")->text().toStdString(), c.welcome);
        EXPECT_EQ(about.findChild<QComboBox*>("language")->currentText().toStdString(),
                  seriallink::LanguageName(flashwizard::WizardStrings().language()));
        dlg.reset();
    }
    flashwizard::UseWizardStrings(nullptr);
}

}  // namespace
}  // namespace fwtest
