#include "zonesend/gui/SelectionDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "seriallink/Messages.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/AboutDialog.h"

namespace zonesend {

namespace {

constexpr int kTypeColumns = 4;

QString text(unsigned id) {
    return QString::fromStdString(seriallink::LoadString(id));
}

QComboBox* unitBox(const std::vector<std::string>& names, QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const std::string& name : names) box->addItem(QString::fromStdString(name));
    return box;
}

QWidget* withUnit(QLineEdit* edit, QComboBox* unit, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    layout->addWidget(unit);
    return row;
}

QLineEdit* lineEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

}  // namespace

SelectionDialog::SelectionDialog(SelectionTools& tools, QWidget* parent)
    : QDialog(parent), tools_(tools), panel_(tools.panel()) {
    setFont(dialogFont());
    setWindowTitle(text(ids::kSelectTitle));
    setObjectName(QStringLiteral("select"));
    tools_.OnOpenPanel();

    auto* form = new QFormLayout;
    takeOff_ = lineEdit("takeOff", this);
    takeOff_->setPlaceholderText(QStringLiteral("46.7N 7.6E"));
    form->addRow(text(ids::kTakeOffLabel), takeOff_);
    radius_ = lineEdit("radius", this);
    radiusUnit_ = unitBox(radiusUnitNames(), this);
    radiusUnit_->setObjectName(QStringLiteral("radiusUnit"));
    form->addRow(text(ids::kRadiusLabel), withUnit(radius_, radiusUnit_, this));

    auto* typeBox = new QGroupBox(this);
    auto* typeGrid = new QGridLayout(typeBox);
    for (std::size_t i = 0; i < panel_.types().size(); ++i) {
        const TypeCount& type = panel_.types()[i];
        auto* check = new QCheckBox(QString::fromStdString(toDisplayUtf8(type.type)) +
                                        QStringLiteral(" (%1)").arg(type.count),
                                    typeBox);
        check->setObjectName(QStringLiteral("type:") + QString::fromStdString(type.type));
        typeGrid->addWidget(check, static_cast<int>(i) / kTypeColumns,
                            static_cast<int>(i) % kTypeColumns);
        types_.push_back(check);
    }
    form->addRow(text(ids::kTypesLabel), typeBox);

    floor_ = lineEdit("floorBelow", this);
    floorUnit_ = unitBox(floorUnitNames(), this);
    floorUnit_->setObjectName(QStringLiteral("floorUnit"));
    form->addRow(text(ids::kFloorBelowLabel), withUnit(floor_, floorUnit_, this));
    name_ = lineEdit("name", this);
    form->addRow(text(ids::kNameContainsLabel), name_);
    simplify_ = lineEdit("simplify", this);
    autoSimplify_ = new QCheckBox(text(ids::kAutoSimplify), this);
    autoSimplify_->setObjectName(QStringLiteral("autoSimplify"));
    autoCeiling_ = lineEdit("autoCeiling", this);
    auto* tolerance = new QWidget(this);
    auto* toleranceRow = new QHBoxLayout(tolerance);
    toleranceRow->setContentsMargins(0, 0, 0, 0);
    toleranceRow->addWidget(simplify_, 1);
    toleranceRow->addWidget(autoSimplify_);
    toleranceRow->addWidget(new QLabel(text(ids::kAutoCeilingLabel), tolerance));
    toleranceRow->addWidget(autoCeiling_, 1);
    form->addRow(text(ids::kSimplifyLabel), tolerance);
    // The fixed tolerance is Auto's to choose while Auto is on.
    connect(autoSimplify_, &QCheckBox::toggled, this, [this](bool on) {
        simplify_->setEnabled(!on);
        autoCeiling_->setEnabled(on);
    });
    clip_ = new QCheckBox(text(ids::kClipCheck), this);
    clip_->setObjectName(QStringLiteral("clip"));
    form->addRow(QString(), clip_);
    preferred_ = lineEdit("preferredTypes", this);
    form->addRow(text(ids::kPreferredTypesLabel), preferred_);
    flyingDate_ = lineEdit("flyingDate", this);
    flyingDate_->setPlaceholderText(QStringLiteral("2026-07-15"));
    form->addRow(text(ids::kFlyingDateLabel), flyingDate_);
    leaveOutNotamOnly_ = new QCheckBox(text(ids::kLeaveOutNotamOnly), this);
    leaveOutNotamOnly_->setObjectName(QStringLiteral("leaveOutNotamOnly"));
    form->addRow(QString(), leaveOutNotamOnly_);
    fit_ = new QCheckBox(text(ids::kFitCheck), this);
    fit_->setObjectName(QStringLiteral("fit"));
    form->addRow(QString(), fit_);

    outcome_ = new QPlainTextEdit(this);
    outcome_->setObjectName(QStringLiteral("outcome"));
    outcome_->setReadOnly(true);
    outcome_->setMinimumHeight(110);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* apply = buttons->addButton(text(ids::kApplyButton), QDialogButtonBox::ApplyRole);
    apply->setObjectName(QStringLiteral("apply"));
    apply->setDefault(true);
    QPushButton* close = buttons->addButton(text(ids::kCloseButton), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    connect(apply, &QPushButton::clicked, this, &SelectionDialog::OnApply);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(outcome_, 1);
    layout->addWidget(buttons);
    showChoices();
}

void SelectionDialog::showChoices() {
    const SelectionChoices& c = panel_.choices();
    takeOff_->setText(QString::fromStdString(c.takeOff));
    radius_->setText(QString::fromStdString(c.radius));
    radiusUnit_->setCurrentIndex(static_cast<int>(c.radiusUnit));
    for (std::size_t i = 0; i < types_.size(); ++i) types_[i]->setChecked(panel_.typeTicked(i));
    floor_->setText(QString::fromStdString(c.floorBelow));
    floorUnit_->setCurrentIndex(static_cast<int>(c.floorUnit));
    name_->setText(QString::fromStdString(c.nameContains));
    fit_->setChecked(c.fitToInstrument);
    simplify_->setText(QString::fromStdString(c.simplifyMetres));
    autoSimplify_->setChecked(c.autoSimplify);
    simplify_->setEnabled(!c.autoSimplify);
    autoCeiling_->setEnabled(c.autoSimplify);
    autoCeiling_->setText(QString::fromStdString(c.autoCeilingMetres));
    clip_->setChecked(c.clipToRadius);
    preferred_->setText(QString::fromStdString(c.preferredTypes));
    flyingDate_->setText(QString::fromStdString(c.flyingDate));
    leaveOutNotamOnly_->setChecked(c.leaveOutNotamOnly);
}

void SelectionDialog::takeChoices() {
    SelectionChoices& c = panel_.choices();
    c.takeOff = takeOff_->text().toStdString();
    c.radius = radius_->text().toStdString();
    c.radiusUnit = static_cast<RadiusUnit>(std::max(0, radiusUnit_->currentIndex()));
    for (std::size_t i = 0; i < types_.size(); ++i) {
        panel_.setTypeTicked(i, types_[i]->isChecked());
    }
    c.floorBelow = floor_->text().toStdString();
    c.floorUnit = static_cast<FloorUnit>(std::max(0, floorUnit_->currentIndex()));
    c.nameContains = name_->text().toStdString();
    c.fitToInstrument = fit_->isChecked();
    c.simplifyMetres = simplify_->text().toStdString();
    c.autoSimplify = autoSimplify_->isChecked();
    c.autoCeilingMetres = autoCeiling_->text().toStdString();
    c.clipToRadius = clip_->isChecked();
    c.preferredTypes = preferred_->text().toStdString();
    c.flyingDate = flyingDate_->text().toStdString();
    c.leaveOutNotamOnly = leaveOutNotamOnly_->isChecked();
}

void SelectionDialog::OnApply() {
    takeChoices();
    (void)tools_.OnApply();
    outcome_->setPlainText(QString::fromStdString(panel_.lastText()));
}

}  // namespace zonesend
