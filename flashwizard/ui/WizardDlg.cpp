#include "flashwizard/ui/WizardDlg.h"

#include <QAction>
#include <QCloseEvent>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <new>

#include "flashwizard/core/WizardStrings.h"
#include "flashwizard/ui/AboutBox.h"
#include "flashwizard/ui/QtMessages.h"
#include "flashwizard/ui/QtUpdateReport.h"
#include "flashwizard/ui/Step5Dlg.h"
#include "flashwizard/ui/StepPages.h"
#include "shell/qt/QtProfileStore.h"

// The pictures and the icon are compiled into the wizard's library; a static library's
// resources must be registered by hand before first use.
static void RegisterWizardResources() {
    Q_INIT_RESOURCE(flashwizard);
}

namespace flashwizard {

namespace {

constexpr int kFrameFontPoints = 8;
constexpr int kFrameWidth = 396;
constexpr int kFrameHeight = 229;
constexpr int kWorkerPollMs = 2;

QPushButton* AddButton(QWidget* parent, const QString& text, const char* id, QRect rect) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(id));
    button->setGeometry(rect);
    // No button may become a default one: Enter presses only the button that has the focus.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

WizardDlg::WizardDlg(WizardState& state, WizardEnvironment environment, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      state_(state),
      environment_(std::move(environment)),
      units_(shell::QtDialogUnits::TemplateFont(kFrameFontPoints)) {
    RegisterWizardResources();
    if (environment_.messages == nullptr) {
        ownMessages_ = std::make_unique<QtMessages>(this);
        messages_ = ownMessages_.get();
    } else {
        messages_ = environment_.messages;
    }
    setFont(shell::QtDialogUnits::TemplateFont(kFrameFontPoints));
    setFixedSize(units_.Size(kFrameWidth, kFrameHeight));
    setWindowIcon(QIcon(QStringLiteral(":/flashwizard.svg")));

    cancel_ = AddButton(this, QString::fromStdString(PageText(kStrFrameButtons, 0)),
                        control::kCancel, units_.Rect(339, 208, 50, 14));
    next_ = AddButton(this, QString::fromStdString(WizardText(kStrNext)), control::kNext,
                      units_.Rect(284, 208, 50, 14));
    back_ = AddButton(this, QString::fromStdString(PageText(kStrFrameButtons, 1)), control::kBack,
                      units_.Rect(229, 208, 50, 14));
    back_->setEnabled(false);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(units_.X(7), units_.Y(202), units_.X(381), 2);
    statusLine_ = new QLabel(this);
    statusLine_->setObjectName(QString::fromLatin1(control::kStatusLine));
    statusLine_->setGeometry(units_.Rect(10, 211, 211, 8));

    connect(&workerPoll_, &QTimer::timeout, this, &WizardDlg::OnWorkerPoll);
    connect(cancel_, &QPushButton::clicked, this, [this] { logic_->OnCancel(); });
    connect(next_, &QPushButton::clicked, this, [this] { logic_->OnNext(); });
    connect(back_, &QPushButton::clicked, this, [this] { logic_->OnBack(); });

    logic_ = std::make_unique<WizardFrame>(state_, *this, *messages_, environment_.timing,
                                           environment_.enumerate);
    AddAboutItem();
    CreatePages();
    if (!pagesCreated_) return;
    report_ = std::make_unique<QtUpdateReport>(*this, *progressPage(), *messages_);
    logic_->Init();
}

WizardDlg::~WizardDlg() {
    if (!worker_.joinable()) return;
    // The window closes only after the worker has ended (AfterWorker); a worker still busy here
    // means the process is being torn down around it, and joining could wait for ever.
    if (*workerRunning_) {
        worker_.detach();
    } else {
        worker_.join();
    }
}

void WizardDlg::AddAboutItem() {
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* about = new QAction(QString::fromStdString(WizardText(kStrAboutItem)), this);
    about->setObjectName(QStringLiteral("about"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
    connect(about, &QAction::triggered, this, &WizardDlg::ShowAbout);
    addAction(about);
}

void WizardDlg::ShowAbout() {
    shell::QtProfileStore profile(WizardText(kStrCompanyKey), kApplicationName);
    AboutBox about(this, &profile);
    about.exec();
}

void WizardDlg::CreatePages() {
    try {
        pages_[0] = new Step1Dlg(this);
        pages_[1] = new Step2Dlg(
            this, [this](const std::string& path) { state_.firmwarePath = path; },
            [this] { return state_.lastFirmwarePath; });
        pages_[2] = new Step3Dlg(this);
        pages_[3] = new Step4Dlg(this);
        pages_[4] = new Step5Dlg(this, state_, *messages_, *this, environment_.enumerate);
        pages_[5] = new Step6Dlg(
            this, [this] { return state_.firmwarePath; }, [this] { return state_.portName; });
    } catch (const std::bad_alloc&) {
        // Nothing to ask: without its pages the wizard cannot go on.
        ShowWizardError(messages_, kStrNoMemory);
        closing_ = true;
        return;
    }
    for (StepDlg* page : pages_) {
        page->move(0, 0);
        page->hide();
    }
    pagesCreated_ = true;
}

Step2Dlg* WizardDlg::fileStep() const {
    return static_cast<Step2Dlg*>(pages_[1]);
}

Step5Dlg* WizardDlg::portStep() const {
    return static_cast<Step5Dlg*>(pages_[kPortPage]);
}

Step6Dlg* WizardDlg::progressPage() const {
    return static_cast<Step6Dlg*>(pages_[kProgressPage]);
}

void WizardDlg::ShowPage(int index) {
    if (index == shownPage_) return;
    // Hide first: the port page stops its timer and stores its choice before step 6 reads it.
    if (shownPage_ >= 0) {
        StepDlg* old = pages_[static_cast<size_t>(shownPage_)];
        old->hide();
        old->OnPageHidden();
    }
    shownPage_ = index;
    StepDlg* page = pages_[static_cast<size_t>(index)];
    page->show();
    page->OnPageShown();
}

void WizardDlg::SetTitle(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
}

void WizardDlg::EnableCancel(bool enabled) {
    cancel_->setEnabled(enabled);
}

void WizardDlg::EnableNext(bool enabled) {
    next_->setEnabled(enabled);
}

void WizardDlg::EnableBack(bool enabled) {
    back_->setEnabled(enabled);
}

void WizardDlg::SetNextText(const std::string& text) {
    next_->setText(QString::fromStdString(text));
}

void WizardDlg::SetStatusLine(const std::string& text) {
    statusLine_->setText(QString::fromStdString(text));
    // The device search keeps the thread busy; paint now, or the pilot sees nothing until it ends.
    statusLine_->repaint();
}

void WizardDlg::CloseWizard() {
    if (closing_) return;
    closing_ = true;
    // After the update succeeded the worker may still be showing its last box or setting the
    // buttons; the window it reports to must outlive that.
    AfterWorker([this] { QDialog::done(QDialog::Rejected); });
}

void WizardDlg::StartUpdate() {
    AfterWorker([this] {
        *workerRunning_ = true;
        // Nothing waits for the worker: it reports through report_, each call done here.
        worker_ = std::thread([this, running = workerRunning_] {
            (void)logic_->RunUpdate(*report_);
            *running = false;
        });
    });
}

void WizardDlg::AfterWorker(std::function<void()> action) {
    // Next and the close come back with the worker's last reports, so a run is at most
    // finishing them, and they wait for this thread. Waiting here, in a handler, would keep them
    // from ever running: look again on a timer instead.
    if (*workerRunning_) {
        afterWorker_ = std::move(action);
        workerPoll_.start(kWorkerPollMs);
        return;
    }
    if (worker_.joinable()) worker_.join();
    action();
}

void WizardDlg::OnWorkerPoll() {
    if (*workerRunning_) return;
    workerPoll_.stop();
    if (worker_.joinable()) worker_.join();
    std::function<void()> action = std::move(afterWorker_);
    afterWorker_ = nullptr;
    if (action) action();
}

void WizardDlg::reject() {
    if (!closing_) logic_->OnCancel();
}

void WizardDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // As the system's dialogs do: Enter presses a focused push button, of the frame or of a
        // page, and otherwise does nothing.
        auto* button = qobject_cast<QPushButton*>(focusWidget());
        if (button != nullptr && button->isEnabled() && button->isVisible()) button->click();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void WizardDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!closing_) logic_->OnCancel();
}

}  // namespace flashwizard
