#include "zonesend/gui/AirspaceSetupDialog.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QTimer>
#include <QTimerEvent>

#include "shell/qt/QtMessageBoxes.h"
#include "zonesend/SelectionPanelLogic.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/AboutDialog.h"
#include "zonesend/gui/MapCanvas.h"
#include "zonesend/gui/SelectionDialog.h"
#include "zonesend/preview/MapPainter.h"
#include "zonesend/preview/PreviewDrawing.h"

namespace zonesend {

namespace {

constexpr int kListPointSize = 8;
const QString kListFace = QStringLiteral("Lucida Console");

QString qtText(const std::string& text) {
    return QString::fromStdString(text);
}

// "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" as a Qt filter list. "*.*" becomes "*" so that
// files without an extension are listed, as the pattern means.
QString qtFileFilter(const std::string& filter) {
    const QStringList parts = qtText(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        QString description = parts[i].section(QLatin1Char('('), 0, 0).trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

// The fixed-pitch list font: "Lucida Console" where installed, else the system's fixed font,
// both at 8 pt, so that the list columns stand under the header's.
QFont makeListFont() {
    QFont font(kListFace, kListPointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    const QFontInfo info(font);
    if (info.family() == kListFace && info.fixedPitch()) return font;
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kListPointSize);
    return font;
}

}  // namespace

class AirspaceSetupDialog::ComboAdapter : public seriallink::PortComboBox {
public:
    explicit ComboAdapter(QComboBox& combo) : combo_(combo) {}
    void Clear() override { combo_.clear(); }
    void AddEntry(const std::string& text) override { combo_.addItem(qtText(text)); }
    int Count() const override { return combo_.count(); }
    std::string EntryText(int index) const override {
        return index >= 0 && index < combo_.count() ? combo_.itemText(index).toStdString() : "";
    }
    int CurrentIndex() const override { return combo_.currentIndex(); }
    void SetCurrentIndex(int index) override { combo_.setCurrentIndex(index); }

private:
    QComboBox& combo_;
};

AirspaceSetupDialog::AirspaceSetupDialog(AirspaceSetupApp& app, Options options, QWidget* parent)
    : QDialog(parent), options_(std::move(options)), baseUnits_(dialogFont()) {
    setFont(dialogFont());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(applicationIcon());
    setSizeGripEnabled(false);
    resize(baseUnits_.Size(kMainDialogSize.width, kMainDialogSize.height));
    createControls();
    if (options_.selectionTools.shown) createSelectionTools();

    logic_ = std::make_unique<AirspaceSetupLogic>(app, *this, options_.services);
    logic_->OnInitDialog();
    if (options_.selectionTools.shown) {
        tools_ = std::make_unique<SelectionTools>(*logic_, *this, *this,
                                                  options_.selectionTools.profile);
        rememberFirstLayout();
    }
}

void AirspaceSetupDialog::rememberFirstLayout() {
    firstSize_ = size();
    firstListBottom_ = list_->geometry().bottom() + 1;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child != map_) firstPlaces_.emplace_back(child, child->geometry());
    }
    // Smaller, the template's controls would no longer fit; larger, the map gains the room.
    setMinimumSize(firstSize_);
}

QRect AirspaceSetupDialog::mapRect() const {
    const int dw = firstSize_.isValid() ? width() - firstSize_.width() : 0;
    const int dh = firstSize_.isValid() ? height() - firstSize_.height() : 0;
    const PixelRect first{previewRect_.x(), previewRect_.y(), previewRect_.right() + 1,
                          previewRect_.bottom() + 1};
    const PixelRect grown = grownMapPlace(first, dw, dh);
    return {grown.left, grown.top, grown.right - grown.left, grown.bottom - grown.top};
}

void AirspaceSetupDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!firstSize_.isValid()) return;
    const int dw = width() - firstSize_.width(), dh = height() - firstSize_.height();
    for (const auto& [widget, first] : firstPlaces_) {
        const PixelRect grown =
            grownControlPlace(widget->objectName().toInt(),
                              {first.x(), first.y(), first.right() + 1, first.bottom() + 1},
                              firstListBottom_, dw, dh);
        widget->setGeometry(grown.left, grown.top, grown.right - grown.left,
                            grown.bottom - grown.top);
    }
    if (showingMap()) drawSelectionMap();
}

void AirspaceSetupDialog::createSelectionTools() {
    resize(width(), baseUnits_.Y(kMainDialogSize.height + kSelectionStripHeight));

    auto* select = new QPushButton(qtText(seriallink::LoadString(ids::kSelectButton)), this);
    select->setObjectName(QString::number(kIdSelect));
    select->setAutoDefault(false);
    select->setGeometry(pixelRect(baseUnits_, kSelectButtonPlace));
    connect(select, &QPushButton::clicked, this, [this] { OnSelect(); });

    mapToggle_ = new QPushButton(qtText(seriallink::LoadString(ids::kMapToggle)), this);
    mapToggle_->setObjectName(QString::number(kIdMapToggle));
    mapToggle_->setAutoDefault(false);
    mapToggle_->setCheckable(true);
    mapToggle_->setGeometry(pixelRect(baseUnits_, kMapTogglePlace));
    connect(mapToggle_, &QPushButton::clicked, this, [this](bool on) { showMap(on); });

    map_ = new MapCanvas([this] { return tools_ ? tools_->mapRequest() : MapRequest{}; }, this);
    map_->hide();

    capacity_ = new QProgressBar(this);
    capacity_->setObjectName(QString::number(kIdCapacityBar));
    capacity_->setRange(0, static_cast<int>(kDeviceCapacity));
    capacity_->setTextVisible(true);
    capacity_->setAlignment(Qt::AlignCenter);
    capacity_->setGeometry(pixelRect(baseUnits_, kCapacityBarPlace));
    capacityPalette_ = capacity_->palette();

    selectedOnly_ = new QCheckBox(qtText(seriallink::LoadString(ids::kSelectedOnly)), this);
    selectedOnly_->setObjectName(QString::number(kIdSelectedOnly));
    selectedOnly_->setGeometry(pixelRect(baseUnits_, kSelectedOnlyPlace));
    connect(selectedOnly_, &QCheckBox::clicked, this,
            [this](bool on) { tools_->OnSelectedOnly(on); });

    auto* addFile = new QPushButton(qtText(seriallink::LoadString(ids::kAddFileButton)), this);
    addFile->setObjectName(QString::number(kIdAddFile));
    addFile->setAutoDefault(false);
    addFile->setGeometry(pixelRect(baseUnits_, kAddFilePlace));
    connect(addFile, &QPushButton::clicked, this, [this] {
        logic_->OnAddFile();
        tools_->OnSelectionReplaced();
    });

    airspaceInfo_ = new QLabel(this);
    airspaceInfo_->setObjectName(QString::number(kIdAirspaceInfo));
    airspaceInfo_->setTextFormat(Qt::PlainText);
    airspaceInfo_->setGeometry(pixelRect(baseUnits_, kAirspaceInfoPlace));
    setControlText(kIdBytesValue, "0");

    // After the logic's own handlers: the strip follows every change of the selection.
    for (const int id : {kIdSelectAll, kIdSelectNone, kIdLoadFile}) {
        connect(qobject_cast<QPushButton*>(control(id)), &QPushButton::clicked, this,
                [this] { tools_->OnSelectionReplaced(); });
    }
    createListMarks();
}

void AirspaceSetupDialog::createListMarks() {
    // Insert marks a line "Always include", Delete "Never include" (see eventFilter); the same
    // key again, or the context menu's item again, takes the mark off.
    const struct {
        const char* name;
        unsigned text;
        const char* key;
        LineMark mark;
    } kMarks[] = {
        {"alwaysInclude", ids::kAlwaysInclude, "Ins", LineMark::AlwaysInclude},
        {"neverInclude", ids::kNeverInclude, "Del", LineMark::NeverInclude},
    };
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const auto& entry : kMarks) {
        auto* action = new QAction(
            qtText(seriallink::LoadString(entry.text)) + QLatin1Char('\t') + entry.key, list_);
        action->setObjectName(QString::fromLatin1(entry.name));
        const LineMark mark = entry.mark;
        connect(action, &QAction::triggered, this, [this, mark] { tools_->OnMarkCaretLine(mark); });
        list_->addAction(action);
    }
    // A right click makes the line under the pointer the current one without touching the
    // selection, so the context menu marks that line.
    list_->installEventFilter(this);
}

bool AirspaceSetupDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && tools_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Insert || key == Qt::Key_Delete) {
            tools_->OnMarkCaretLine(key == Qt::Key_Insert ? LineMark::AlwaysInclude
                                                          : LineMark::NeverInclude);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AirspaceSetupDialog::OnSelect(const std::function<void(QDialog&)>& whileOpen) {
    if (!tools_) return;
    SelectionDialog panel(*tools_, this);
    if (whileOpen) {
        QTimer::singleShot(0, &panel, [&panel, &whileOpen] { whileOpen(panel); });
    }
    panel.exec();
}

void AirspaceSetupDialog::showMap(bool on) {
    if (tools_) tools_->OnMapToggle(on);
}

void AirspaceSetupDialog::showMapToggle(bool on) {
    if (mapToggle_ != nullptr && mapToggle_->isChecked() != on) mapToggle_->setChecked(on);
}

void AirspaceSetupDialog::showSelectedOnly(bool on) {
    if (selectedOnly_ != nullptr && selectedOnly_->isChecked() != on) selectedOnly_->setChecked(on);
}

void AirspaceSetupDialog::hideLines(const std::vector<bool>& hidden) {
    list_->setUpdatesEnabled(false);
    for (int row = 0; row < list_->count(); ++row) {
        const auto index = static_cast<std::size_t>(row);
        list_->setRowHidden(row, index < hidden.size() && hidden[index]);
    }
    list_->setUpdatesEnabled(true);
}

void AirspaceSetupDialog::drawPreviewOf(const airspace::AirspaceRecord* airspace) {
    if (map_ != nullptr) map_->hide();
    if (airspace != nullptr) {
        paintPreview(*airspace);
        return;
    }
    preview_ = QImage();
    update(previewRect_);
}

void AirspaceSetupDialog::drawMap(const MapRequest&) {
    // The map widget asks for the request itself, whenever the pilot zooms, pans or resizes.
    drawSelectionMap();
}

void AirspaceSetupDialog::drawSelectionMap() {
    if (previewRect_.isEmpty() || map_ == nullptr) return;
    map_->setGeometry(mapRect());
    map_->redraw();
    map_->show();
    preview_ = map_->image();
}

void AirspaceSetupDialog::showAirspaceInfo(const std::string& text) {
    if (airspaceInfo_ != nullptr) airspaceInfo_->setText(qtText(text));
}

void AirspaceSetupDialog::showLineMark(unsigned index, LineMark mark) {
    QListWidgetItem* item = list_->item(static_cast<int>(index));
    if (item == nullptr) return;
    // The line's text stays as the file gives it; the mark is its colour and font.
    QFont font = list_->font();
    font.setBold(mark == LineMark::AlwaysInclude);
    font.setStrikeOut(mark == LineMark::NeverInclude);
    item->setFont(font);
    item->setForeground(mark == LineMark::NeverInclude ? QBrush(Qt::gray) : QBrush());
    item->setBackground(mark == LineMark::AlwaysInclude ? QBrush(QColor(0xD8, 0xF0, 0xD8))
                                                        : QBrush());
    item->setToolTip(
        mark == LineMark::None
            ? QString()
            : qtText(seriallink::LoadString(mark == LineMark::AlwaysInclude ? ids::kAlwaysInclude
                                                                            : ids::kNeverInclude)));
}

AirspaceSetupDialog::~AirspaceSetupDialog() {
    logic_->OnDestroy();
}

void AirspaceSetupDialog::createControls() {
    for (const ControlTemplate& item : mainDialogControls()) {
        QWidget* widget = nullptr;
        switch (item.kind) {
            case ControlKind::PushButton:
            case ControlKind::DefaultPushButton: {
                auto* button = new QPushButton(qtText(std::string(item.text)), this);
                // No default button: Enter on a button presses that button only.
                button->setAutoDefault(false);
                button->setDefault(false);
                widget = button;
                break;
            }
            case ControlKind::Label:
            case ControlKind::RightLabel: {
                auto* label = new QLabel(qtText(std::string(item.text)), this);
                // File paths and airspace texts are shown as they are, never as markup.
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(
                    (item.kind == ControlKind::RightLabel ? Qt::AlignRight : Qt::AlignLeft) |
                    Qt::AlignTop);
                widget = label;
                break;
            }
            case ControlKind::ListBox:
                list_ = new QListWidget(this);
                list_->setSelectionMode(QAbstractItemView::MultiSelection);
                list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                list_->setUniformItemSizes(true);
                widget = list_;
                break;
            case ControlKind::ComboBox:
                combo_ = new QComboBox(this);
                comboAdapter_ = std::make_unique<ComboAdapter>(*combo_);
                widget = combo_;
                break;
            case ControlKind::Icon:
                break;
        }
        if (widget == nullptr) continue;
        widget->setObjectName(QString::number(item.id));
        QRect place = pixelRect(baseUnits_, item.place);
        // A drop-down list's template height is that of its open list; closed it is one line.
        if (item.kind == ControlKind::ComboBox) place.setHeight(combo_->sizeHint().height());
        widget->setGeometry(place);
        controls_[item.id] = widget;
    }

    connect(qobject_cast<QPushButton*>(control(kIdExit)), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(qobject_cast<QPushButton*>(control(kIdSendAirspace)), &QPushButton::clicked, this,
            [this] { logic_->OnSendAirspace(); });
    connect(qobject_cast<QPushButton*>(control(kIdLoadFile)), &QPushButton::clicked, this,
            [this] { logic_->OnLoadFile(); });
    connect(qobject_cast<QPushButton*>(control(kIdSelectAll)), &QPushButton::clicked, this,
            [this] { logic_->OnSelectAll(); });
    connect(qobject_cast<QPushButton*>(control(kIdSelectNone)), &QPushButton::clicked, this,
            [this] { logic_->OnSelectNone(); });
    connect(list_, &QListWidget::itemSelectionChanged, this,
            &AirspaceSetupDialog::onListSelectionChanged);
    // activated: the pilot's choice only, not the program's own changes of the entry.
    connect(combo_, &QComboBox::activated, this, [this] { logic_->OnPortSelChange(); });
}

QWidget* AirspaceSetupDialog::control(int controlId) const {
    const auto found = controls_.find(controlId);
    return found == controls_.end() ? nullptr : found->second;
}

void AirspaceSetupDialog::onListSelectionChanged() {
    // Only the pilot's clicks and keys count; the program's own selecting is silent.
    if (changingSelection_) return;
    logic_->OnListSelChange();
    if (tools_) tools_->OnListSelChange();
}

seriallink::MessageAnswer AirspaceSetupDialog::ShowMessageBox(
    const seriallink::MessageBoxRequest& request) {
    if (options_.messageBox) return options_.messageBox(request);
    return shell::QtMessageBoxes(this).ShowMessageBox(request);
}

void AirspaceSetupDialog::setControlText(int controlId, const std::string& text) {
    // The bar shows what "Bytes used" says, whichever handler has just set it.
    if (controlId == kIdBytesValue && capacity_ != nullptr) {
        const int used = std::max(0, QString::fromStdString(text).toInt());
        const CapacityBarLook look = capacityBarLook(static_cast<std::size_t>(used));
        capacity_->setValue(static_cast<int>(look.filled));
        QPalette palette = capacityPalette_;
        if (look.overCapacity) {
            palette.setColor(QPalette::Highlight,
                             QColor(kCapacityWarningColour.r, kCapacityWarningColour.g,
                                    kCapacityWarningColour.b));
        }
        capacity_->setPalette(palette);
        capacity_->setFormat(qtText(seriallink::FormatText(
            seriallink::LoadString(ids::kCapacityText),
            {static_cast<long long>(used), static_cast<long long>(kDeviceCapacity)})));
    }
    QWidget* widget = control(controlId);
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(qtText(text));
    if (auto* button = qobject_cast<QPushButton*>(widget)) button->setText(qtText(text));
}

void AirspaceSetupDialog::setTitleText(const std::string& text) {
    setWindowTitle(qtText(text));
}

void AirspaceSetupDialog::addAboutMenuItem(const std::string& text) {
    // Without a window menu of the platform's own, the item lives in the dialog's context menu
    // and on F1.
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* about = new QAction(qtText(text), this);
    about->setObjectName(QStringLiteral("about"));
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);
    connect(about, &QAction::triggered, this, [this] { logic_->OnSysCommand(kAboutCommand); });
    addAction(about);
}

void AirspaceSetupDialog::enableControl(int controlId, bool enable) {
    if (QWidget* widget = control(controlId)) widget->setEnabled(enable);
}

seriallink::PortComboBox& AirspaceSetupDialog::portCombo() {
    return *comboAdapter_;
}

void AirspaceSetupDialog::clearList() {
    changingSelection_ = true;
    list_->clear();
    changingSelection_ = false;
}

void AirspaceSetupDialog::addListLine(const std::string& text) {
    list_->addItem(qtText(text));
}

void AirspaceSetupDialog::addListLines(const std::vector<std::string>& lines) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) texts << qtText(line);
    list_->addItems(texts);
}

unsigned AirspaceSetupDialog::listCount() const {
    return static_cast<unsigned>(list_->count());
}

void AirspaceSetupDialog::setLineSelected(unsigned index, bool selected) {
    changingSelection_ = true;
    if (QListWidgetItem* item = list_->item(static_cast<int>(index))) item->setSelected(selected);
    changingSelection_ = false;
}

void AirspaceSetupDialog::setAllLinesSelected(bool selected) {
    changingSelection_ = true;
    if (selected) {
        list_->selectAll();
    } else {
        list_->clearSelection();
    }
    changingSelection_ = false;
}

bool AirspaceSetupDialog::selectedLines(std::vector<unsigned>& out) const {
    out.clear();
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->isSelected()) out.push_back(static_cast<unsigned>(row));
    }
    return true;
}

int AirspaceSetupDialog::caretIndex() const {
    return list_->currentRow();
}

void AirspaceSetupDialog::applyListFont() {
    listFont_ = options_.listFont ? *options_.listFont : makeListFont();
    list_->setFont(listFont_);
    QWidget* header = control(kIdHeaderLine);
    header->setFont(listFont_);
    // The template gives the header the dialog font's height, but it shows the list font, which
    // may be taller: it grows upwards, over the margin, so that the descenders ("g" of
    // "Ceiling") are not cut off and the list below stays where it is.
    const int needed = QFontMetrics(listFont_).height();
    const QRect place = header->geometry();
    if (place.height() < needed) {
        header->setGeometry(place.x(), std::max(0, place.bottom() + 1 - needed), place.width(),
                            needed);
    }
}

void AirspaceSetupDialog::computePreviewRect() {
    // Right of the list, below the top buttons, above the file line; right and bottom exclusive.
    const QRect listPlace = control(kIdAirspaceList)->geometry();
    const QRect exitPlace = control(kIdExit)->geometry();
    const QRect filePlace = control(kIdFileLine)->geometry();
    const int left = listPlace.x() + listPlace.width() + 2;
    const int top = exitPlace.y() + exitPlace.height() + 5;
    const int right = width() - 5;
    const int bottom = filePlace.y() - 5;
    previewRect_ = QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void AirspaceSetupDialog::setListLine(unsigned index, const std::string& text) {
    if (QListWidgetItem* item = list_->item(static_cast<int>(index))) item->setText(qtText(text));
}

void AirspaceSetupDialog::fileReplaced() {
    if (tools_) {
        tools_->OnFileReplaced();
        return;
    }
    preview_ = QImage();
    update(previewRect_);
}

void AirspaceSetupDialog::drawPreview(const airspace::AirspaceRecord& airspace) {
    // With the map on, the strip's logic draws the map after every change instead.
    if (showingMap()) return;
    paintPreview(airspace);
}

void AirspaceSetupDialog::paintPreview(const airspace::AirspaceRecord& airspace) {
    if (previewRect_.isEmpty()) return;
    // Drawn once into an image that stays on show until the next selection change, so that the
    // preview survives the window being covered and repainted.
    QImage image(previewRect_.size(), QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Window));
    QPainter painter(&image);
    painter.setFont(font());
    zonesend::drawPreview(painter, airspace,
                          PixelRect{0, 0, previewRect_.width(), previewRect_.height()});
    painter.end();
    preview_ = image;
    update(previewRect_);
}

std::optional<std::string> AirspaceSetupDialog::chooseFile(const std::string& title,
                                                           const std::string& filter) {
    if (options_.chooseFile) return options_.chooseFile(title, filter);
    // The dialog opens where the last file was chosen, with that file selected.
    const QString start =
        QFile::decodeName(QByteArray::fromStdString(logic_->app().fileDialogStart()));
    const QString path =
        QFileDialog::getOpenFileName(this, qtText(title), start, qtFileFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    // The file is opened by the bytes of its name, whatever the locale's encoding of names.
    return QFile::encodeName(path).toStdString();
}

int AirspaceSetupDialog::startRepeatingTimer(int timerId, int periodMs) {
    const int qtId = QObject::startTimer(periodMs);
    timers_[qtId] = timerId;
    return qtId;
}

void AirspaceSetupDialog::stopRepeatingTimer(int identifier) {
    killTimer(identifier);
    timers_.erase(identifier);
}

bool AirspaceSetupDialog::isTopLevelActive() const {
    return QApplication::activeWindow() == window();
}

void AirspaceSetupDialog::showAboutBox() {
    if (options_.aboutBox) {
        options_.aboutBox();
        return;
    }
    AboutDialog about(baseUnits_, this, options_.selectionTools.profile);
    about.exec();
}

void AirspaceSetupDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (preview_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(previewRect_.topLeft(), preview_);
}

void AirspaceSetupDialog::timerEvent(QTimerEvent* event) {
    const auto found = timers_.find(event->timerId());
    if (found == timers_.end()) {
        QDialog::timerEvent(event);
        return;
    }
    logic_->OnTimer(found->second);
}

void AirspaceSetupDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    // The keypad's Enter is the same key to the pilot; it only carries the keypad modifier.
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // Enter presses the button that has the focus, and otherwise ends the dialog.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace zonesend
