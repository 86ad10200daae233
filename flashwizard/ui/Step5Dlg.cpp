#include "flashwizard/ui/Step5Dlg.h"

#include <QTimerEvent>

#include "flashwizard/core/WizardStrings.h"

namespace flashwizard {

namespace {
constexpr int kPageFontPoints = 8;
constexpr int kPageWidth = 396;
constexpr int kPageHeight = 202;
}  // namespace

Step5Dlg::Step5Dlg(QWidget* parent, WizardState& state, WizardMessages& messages,
                   FrameButtons& frame, seriallink::PortEnumerator enumerate)
    : StepDlg(parent, kPageFontPoints, kPageWidth, kPageHeight) {
    combo_ = new QComboBox(this);
    combo_->setObjectName(QString::fromLatin1(control::kPortCombo));
    combo_->setEditable(false);
    // The template's 171 units are the height with the list dropped down; closed, the box is
    // one line high.
    const QRect area = units().Rect(7, 23, 48, 171);
    combo_->setGeometry(area.x(), area.y(), area.width(), combo_->sizeHint().height());
    combo_->setMaxVisibleItems(std::max(1, area.height() / combo_->sizeHint().height()));
    AddStatic(QString::fromStdString(PageText(kStrPortPage, 0)), 7, 40, 382, 10);
    info_ = AddStatic(QString(), 7, 51, 382, 18, control::kPortInfo);

    logic_ = std::make_unique<PortPage>(state, *this, messages, frame, std::move(enumerate));
    // activated comes only from the pilot; the page's own selections are stored by the logic.
    connect(combo_, &QComboBox::activated, this, [this](int) { logic_->OnSelectionChanged(); });
}

void Step5Dlg::OnPageShown() {
    logic_->OnShown();
}

void Step5Dlg::OnPageHidden() {
    logic_->OnHidden();
}

void Step5Dlg::Clear() {
    combo_->clear();
}

void Step5Dlg::AddEntry(const std::string& text) {
    combo_->addItem(QString::fromStdString(text));
}

int Step5Dlg::Count() const {
    return combo_->count();
}

std::string Step5Dlg::EntryText(int index) const {
    return combo_->itemText(index).toStdString();
}

int Step5Dlg::CurrentIndex() const {
    return combo_->currentIndex();
}

void Step5Dlg::SetCurrentIndex(int index) {
    combo_->setCurrentIndex(index);
}

void Step5Dlg::SetInfoText(const std::string& text) {
    info_->setText(QString::fromStdString(text));
}

bool Step5Dlg::StartRefreshTimer(int periodMs) {
    if (timerId_ == 0) timerId_ = startTimer(periodMs, Qt::PreciseTimer);
    return timerId_ != 0;
}

void Step5Dlg::StopRefreshTimer() {
    if (timerId_ != 0) killTimer(timerId_);
    timerId_ = 0;
}

void Step5Dlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timerId_) {
        logic_->OnTimer();
        return;
    }
    StepDlg::timerEvent(event);
}

}  // namespace flashwizard
