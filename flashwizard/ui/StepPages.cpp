#include "flashwizard/ui/StepPages.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QSvgWidget>

#include "flashwizard/core/WizardStrings.h"
#include "seriallink/Messages.h"

namespace flashwizard {

namespace {

constexpr int kPageFontPoints = 8;
constexpr int kWelcomeFontPoints = 12;
constexpr int kPageWidth = 396;
constexpr int kPageHeight = 202;
constexpr int kWelcomeWidth = 264;
constexpr int kWelcomeHeight = 138;

const QString kEllipsis = QStringLiteral("...");

QString Qt8(const std::string& text) {
    return QString::fromStdString(text);
}

// A text of a page in the wizard's language.
QString PageQt(unsigned id, std::size_t index) {
    return Qt8(PageText(id, index));
}

}  // namespace

// ---------------------------------------------------------------------------------------------

StepDlg::StepDlg(QWidget* parent, int pointSize, int widthUnits, int heightUnits)
    : QWidget(parent), units_(shell::QtDialogUnits::TemplateFont(pointSize)) {
    setFont(shell::QtDialogUnits::TemplateFont(pointSize));
    setFixedSize(units_.Size(widthUnits, heightUnits));
}

void StepDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // The frame presses a focused button and otherwise does nothing.
            event->ignore();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

QLabel* StepDlg::AddStatic(const QString& text, int x, int y, int width, int height,
                           const char* id) {
    auto* label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(units_.Rect(x, y, width, height));
    if (id != nullptr) label->setObjectName(QString::fromLatin1(id));
    return label;
}

QSvgWidget* StepDlg::AddPicture(const QString& resource, int x, int y, QSize pixels) {
    // A picture control shows its bitmap at the bitmap's own size, placed at the template's
    // position; the drawings are made for exactly these sizes.
    auto* picture = new QSvgWidget(resource, this);
    picture->setGeometry(QRect(QPoint(units_.X(x), units_.Y(y)), pixels));
    picture->setObjectName(resource.section(QLatin1Char('/'), -1));
    return picture;
}

// ---------------------------------------------------------------------------------------------

ColorStatic::ColorStatic(const QString& text, QWidget* parent)
    : QLabel(text, parent), background_(palette().color(QPalette::Button)) {
    setAutoFillBackground(true);
    ApplyColors();
}

void ColorStatic::SetBackgroundColor(const QColor& color) {
    background_ = color;
    ApplyColors();
}

void ColorStatic::SetTextColor(const QColor& color) {
    text_ = color;
    ApplyColors();
}

void ColorStatic::ApplyColors() {
    QPalette colors = palette();
    colors.setColor(QPalette::Window, background_);
    colors.setColor(QPalette::WindowText, text_);
    setPalette(colors);
    // Redrawn at once, not at the next paint: the label may change while the frame is busy.
    if (isVisible()) repaint();
}

// ---------------------------------------------------------------------------------------------

QString ShortenPath(const QString& path, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(path) <= width) return path;
    const auto isSeparator = [](QChar c) {
        return c == QLatin1Char('/') || c == QLatin1Char('\\');
    };
    qsizetype lastSeparator = path.size() - 1;
    while (lastSeparator > 0 && !isSeparator(path[lastSeparator])) --lastSeparator;
    if (lastSeparator <= 0) return metrics.elidedText(path, Qt::ElideMiddle, width);

    const QString fileName = path.mid(lastSeparator);  // with its separator
    // Whole folders first, so the pilot still reads the names that are left.
    for (qsizetype keep = lastSeparator - 1; keep > 0; --keep) {
        if (!isSeparator(path[keep])) continue;
        const QString candidate = path.left(keep + 1) + kEllipsis + fileName;
        if (metrics.horizontalAdvance(candidate) <= width) return candidate;
    }
    for (qsizetype keep = lastSeparator - 1; keep >= 0; --keep) {
        const QString candidate = path.left(keep) + kEllipsis + fileName;
        if (metrics.horizontalAdvance(candidate) <= width) return candidate;
    }
    return metrics.elidedText(kEllipsis + fileName, Qt::ElideRight, width);
}

void PathLabel::SetPath(const QString& path) {
    // A file name may hold "<" and ">": it is shown as written, never read as markup.
    setTextFormat(Qt::PlainText);
    path_ = path;
    setToolTip(path);
    Elide();
}

void PathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Elide();
}

void PathLabel::Elide() {
    setText(ShortenPath(path_, fontMetrics(), contentsRect().width()));
}

// ---------------------------------------------------------------------------------------------

Step1Dlg::Step1Dlg(QWidget* parent)
    : StepDlg(parent, kWelcomeFontPoints, kWelcomeWidth, kWelcomeHeight) {
    AddStatic(PageQt(kStrWelcomePage, 0), 7, 27, 250, 24);
    AddStatic(PageQt(kStrWelcomePage, 1), 7, 57, 250, 50);
}

// ---------------------------------------------------------------------------------------------

Step2Dlg::Step2Dlg(QWidget* parent, std::function<void(const std::string&)> pathChanged,
                   std::function<std::string()> startPath)
    : StepDlg(parent, kPageFontPoints, kPageWidth, kPageHeight),
      chooser_([this](QWidget* owner) {
          return ChooseHexFile(owner, startPath_ ? Qt8(startPath_()) : QString());
      }),
      startPath_(std::move(startPath)) {
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QString::fromLatin1(control::kPathEdit));
    edit_->setGeometry(units().Rect(7, 25, 350, 12));
    browse_ = new QPushButton(QStringLiteral("..."), this);
    browse_->setObjectName(QString::fromLatin1(control::kBrowse));
    browse_->setGeometry(units().Rect(362, 24, 27, 14));
    browse_->setAutoDefault(false);
    AddStatic(PageQt(kStrFilePage, 0), 7, 41, 382, 11);

    // Every change, typed or chosen, is the firmware path at once: Next checks what is shown.
    connect(edit_, &QLineEdit::textChanged, this,
            [pathChanged = std::move(pathChanged)](const QString& text) {
                if (pathChanged) pathChanged(text.toStdString());
            });
    connect(browse_, &QPushButton::clicked, this, &Step2Dlg::OnBrowse);
}

void Step2Dlg::OnBrowse() {
    const QString chosen = chooser_ ? chooser_(this) : QString();
    if (!chosen.isEmpty()) edit_->setText(chosen);
}

QStringList Step2Dlg::DialogFilters(const std::string& filterText) {
    // Pairs of description and pattern, ended by an empty pair.
    const QStringList parts = Qt8(filterText).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString description = parts[i];
        QString pattern = parts[i + 1];
        // "*.*" means every file here, while the file dialog would only match names with a dot.
        if (pattern == QStringLiteral("*.*")) pattern = QStringLiteral("*");
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0) description = description.left(open).trimmed();
        filters << QStringLiteral("%1 (%2)").arg(description, pattern);
    }
    return filters;
}

QString Step2Dlg::ChooseHexFile(QWidget* owner, const QString& start) {
    QFileDialog dialog(owner, Qt8(WizardText(kStrBrowseTitle)));
    // In the last file's folder, with that file selected.
    if (!start.isEmpty()) dialog.selectFile(start);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(DialogFilters(WizardText(kStrBrowseFilter)));
    // Firmware files come as QLX_Vxx.HEX: the pattern must not depend on letter case.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

// ---------------------------------------------------------------------------------------------

Step3Dlg::Step3Dlg(QWidget* parent) : StepDlg(parent, kPageFontPoints, kPageWidth, kPageHeight) {
    AddStatic(PageQt(kStrConnectionPage, 0), 90, 7, 299, 18);
    AddPicture(QStringLiteral(":/pictures/serial_plug.svg"), 7, 25, QSize(216, 239));
    AddPicture(QStringLiteral(":/pictures/usb_plug.svg"), 176, 25, QSize(317, 239));
    AddStatic(PageQt(kStrConnectionPage, 1), 7, 178, 382, 8);
}

// ---------------------------------------------------------------------------------------------

Step4Dlg::Step4Dlg(QWidget* parent) : StepDlg(parent, kPageFontPoints, kPageWidth, kPageHeight) {
    attention_ = new ColorStatic(PageQt(kStrDownloadModePage, 0), this);
    attention_->setObjectName(QString::fromLatin1(control::kAttention));
    attention_->setGeometry(units().Rect(7, 7, 32, 10));
    attention_->SetTextColor(QColor(255, 0, 0));
    AddStatic(PageQt(kStrDownloadModePage, 1), 45, 7, 344, 8);
    AddPicture(QStringLiteral(":/pictures/hand_on_off.svg"), 9, 29, QSize(181, 154));
    AddPicture(QStringLiteral(":/pictures/back_download.svg"), 146, 29, QSize(181, 154));
    AddPicture(QStringLiteral(":/pictures/download_button.svg"), 284, 29, QSize(86, 154));
    AddPicture(QStringLiteral(":/pictures/cotton_bud.svg"), 359, 29, QSize(40, 154));
    AddStatic(PageQt(kStrDownloadModePage, 2), 7, 132, 382, 20);
    AddStatic(PageQt(kStrDownloadModePage, 3), 7, 154, 382, 9);
    AddStatic(PageQt(kStrDownloadModePage, 4), 7, 167, 382, 28);
}

// ---------------------------------------------------------------------------------------------

Step6Dlg::Step6Dlg(QWidget* parent, std::function<std::string()> path,
                   std::function<std::string()> port)
    : StepDlg(parent, kPageFontPoints, kPageWidth, kPageHeight),
      pathSource_(std::move(path)),
      portSource_(std::move(port)) {
    AddStatic(PageQt(kStrUpdatePage, 0), 7, 7, 30, 8);
    path_ = new PathLabel(this);
    path_->setObjectName(QString::fromLatin1(control::kFirmwarePath));
    path_->setGeometry(units().Rect(40, 7, 349, 8));
    portSentence_ = AddStatic(QString(), 7, 17, 382, 8, control::kPortSentence);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QString::fromLatin1(control::kProgressBar));
    bar_->setGeometry(units().Rect(7, 45, 382, 14));
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    counter_ = AddStatic(QString(), 167, 63, 40, 8, control::kCounter);
    counter_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    AddStatic(PageQt(kStrUpdatePage, 1), 7, 74, 24, 8);
    status_ = AddStatic(PageQt(kStrUpdatePage, 2), 40, 74, 127, 8, control::kStatus);
    AddStatic(PageQt(kStrUpdatePage, 3), 7, 90, 187, 21);
}

void Step6Dlg::OnPageShown() {
    // Filled on every showing: the pilot may have gone back and chosen another port.
    path_->SetPath(Qt8(pathSource_ ? pathSource_() : std::string()));
    portSentence_->setText(Qt8(seriallink::FormatText(WizardStrings().Load(kStrPortSentence),
                                                      {portSource_ ? portSource_() : ""})));
}

void Step6Dlg::SetStatus(const QString& text) {
    status_->setText(text);
}

void Step6Dlg::SetProgress(int position, int total) {
    if (total != 0) bar_->setRange(0, total);
    progress_.Set(position, total);
    counter_->setText(Qt8(progress_.Text()));
    bar_->setValue(position);
}

QString Step6Dlg::statusText() const {
    return status_->text();
}

QString Step6Dlg::counterText() const {
    return counter_->text();
}

}  // namespace flashwizard
