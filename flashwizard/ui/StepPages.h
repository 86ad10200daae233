// The wizard's step pages 1-4 and 6 and their common base. Each page is laid out from its
// dialog template (positions in dialog units of the page's own font) and holds no logic beyond
// showing texts, pictures and progress; what Next does is the frame's business.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <functional>

#include "flashwizard/core/UpdateReport.h"
#include "flashwizard/core/WizardStrings.h"
#include "shell/qt/QtDialogUnits.h"

class QLineEdit;
class QProgressBar;
class QPushButton;
class QSvgWidget;

namespace flashwizard {

// Control ids of the templates, kept as object names so that tests and screenshots find them.
namespace control {
inline constexpr const char* kStatus = "1004";
inline constexpr const char* kPathEdit = "1005";
inline constexpr const char* kBrowse = "1006";
inline constexpr const char* kAttention = "1007";
inline constexpr const char* kPortCombo = "1008";
inline constexpr const char* kPortInfo = "1009";
inline constexpr const char* kFirmwarePath = "1011";
inline constexpr const char* kPortSentence = "1012";
inline constexpr const char* kProgressBar = "1013";
inline constexpr const char* kCounter = "1014";
}  // namespace control

class StepDlg : public QWidget {
    Q_OBJECT
public:
    StepDlg(QWidget* parent, int pointSize, int widthUnits, int heightUnits);

    // The frame tells a page when it becomes the shown one and when it stops being it.
    virtual void OnPageShown() {}
    virtual void OnPageHidden() {}

    [[nodiscard]] const shell::QtDialogUnits& units() const { return units_; }

protected:
    // Enter and Escape inside a page do nothing: they must neither hide the page nor reach the
    // frame, where Escape would ask to leave the wizard.
    void keyPressEvent(QKeyEvent* event) override;

    QLabel* AddStatic(const QString& text, int x, int y, int width, int height,
                      const char* id = nullptr);
    QSvgWidget* AddPicture(const QString& resource, int x, int y, QSize pixels);

private:
    shell::QtDialogUnits units_;
};

// A static text that paints with colours of its own (the red "Achtung:" of step 4).
class ColorStatic : public QLabel {
    Q_OBJECT
public:
    explicit ColorStatic(const QString& text, QWidget* parent);

    void SetBackgroundColor(const QColor& color);
    void SetTextColor(const QColor& color);
    [[nodiscard]] QColor backgroundColor() const { return background_; }
    [[nodiscard]] QColor textColor() const { return text_; }

private:
    void ApplyColors();

    QColor background_;
    QColor text_{0, 0, 0};
};

// A single-line static that shortens a file path in the middle, keeping the file name.
class PathLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    void SetPath(const QString& path);
    [[nodiscard]] QString path() const { return path_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Elide();
    QString path_;
};

// The path as it fits into width pixels: drive and first folders, "...", then the last folders
// and the whole file name; the file name alone is shortened only when nothing else fits.
[[nodiscard]] QString ShortenPath(const QString& path, const QFontMetrics& metrics, int width);

class Step1Dlg : public StepDlg {
    Q_OBJECT
public:
    explicit Step1Dlg(QWidget* parent);
};

class Step2Dlg : public StepDlg {
    Q_OBJECT
public:
    // Returns the chosen file, or an empty text when the pilot cancelled.
    using FileChooser = std::function<QString(QWidget* owner)>;

    // startPath: where the file dialog opens (the last accepted file), read at each Browse.
    Step2Dlg(QWidget* parent, std::function<void(const std::string&)> pathChanged,
             std::function<std::string()> startPath = {});
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    [[nodiscard]] QLineEdit* pathEdit() const { return edit_; }
    [[nodiscard]] QPushButton* browseButton() const { return browse_; }

    // The open-file dialog of the platform, with the program's title and filters.
    [[nodiscard]] static QString ChooseHexFile(QWidget* owner, const QString& start = {});
    // "Desc|pattern|Desc|pattern||" as the platform's file dialog filters.
    [[nodiscard]] static QStringList DialogFilters(const std::string& filterText);

private:
    void OnBrowse();

    QLineEdit* edit_;
    QPushButton* browse_;
    FileChooser chooser_;
    std::function<std::string()> startPath_;
};

class Step3Dlg : public StepDlg {
    Q_OBJECT
public:
    explicit Step3Dlg(QWidget* parent);
};

class Step4Dlg : public StepDlg {
    Q_OBJECT
public:
    explicit Step4Dlg(QWidget* parent);
    [[nodiscard]] ColorStatic* attention() const { return attention_; }

private:
    ColorStatic* attention_;
};

class Step6Dlg : public StepDlg {
    Q_OBJECT
public:
    // path and port are read each time the page is shown.
    Step6Dlg(QWidget* parent, std::function<std::string()> path, std::function<std::string()> port);

    void OnPageShown() override;

    // The progress page's share of the update report.
    void SetStatus(const QString& text);
    void SetProgress(int position, int total);

    [[nodiscard]] QString statusText() const;
    [[nodiscard]] QString counterText() const;
    [[nodiscard]] QProgressBar* progressBar() const { return bar_; }
    [[nodiscard]] PathLabel* pathLabel() const { return path_; }
    [[nodiscard]] QLabel* portSentence() const { return portSentence_; }

private:
    std::function<std::string()> pathSource_;
    std::function<std::string()> portSource_;
    PathLabel* path_;
    QLabel* portSentence_;
    QProgressBar* bar_;
    QLabel* counter_;
    QLabel* status_;
    ProgressCounter progress_;
};

}  // namespace flashwizard
