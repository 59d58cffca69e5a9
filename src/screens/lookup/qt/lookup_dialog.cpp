#include "screens/lookup/qt/lookup_dialog.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "screens/lookup/lookup_presenter.h"
#include "screens/lookup/qt/lone_ctrl_detector.h"
#include "screens/lookup/qt/qt_view_factory.h"
#include "screens/lookup/window_description.h"

namespace velmora {

namespace {

// Widths are given in twips; at 96 dots per inch a pixel is 15 twips.
int Pixels(int twips) { return twips / 15; }

// The width of a cell holding the column's widest common value, with the
// margins a list leaves around a cell's text.
int CellPixels(const CellWidth& widest, const QFontMetrics& metrics) {
    if (widest.bytes <= 0) return 0;
    QString sample;
    switch (widest.text) {
        case CellText::Digits: sample.fill(QChar('0'), widest.bytes); break;
        case CellText::Letters: sample.fill(QChar('X'), widest.bytes); break;
        case CellText::HalfWidthKana: sample.fill(QChar(0xFF76), widest.bytes); break;  // ｶ
        case CellText::FullWidth: sample.fill(QChar(0x6F22), widest.bytes / 2); break;  // 漢
    }
    constexpr int kCellMargins = 12;
    return metrics.horizontalAdvance(sample) + kCellMargins;
}

std::string S(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace

LookupDialog::LookupDialog(const WindowDescription& window, LookupPresenter& presenter, QWidget* parent)
    : QDialog(parent), m_window(window), m_presenter(presenter), m_loneCtrl(new LoneCtrlDetector(this)) {
    setObjectName(Q(window.objectName));
    connect(m_loneCtrl, &LoneCtrlDetector::loneCtrl, this, [this](QWidget* field) {
        auto it = m_fieldOf.find(field);
        if (it != m_fieldOf.end()) m_presenter.onFieldGesture(it->second);
    });
    setWindowTitle(Q(window.title));
    auto* outer = new QVBoxLayout(this);

    auto* title = new QLabel(Q(window.title), this);
    title->setObjectName("wnd_ttl");
    title->setStyleSheet("QLabel { background: #2f4f7f; color: white; font-weight: bold; padding: 4px; }");
    outer->addWidget(title);

    // Search fields, each with its "以降", its button, the name beside a code
    // and the boxes that belong to it.
    auto* grid = new QGridLayout();
    int row = 0;
    for (const auto& field : window.fields) addField(field, grid, row++);
    outer->addLayout(grid);

    if (!window.filters.empty()) {
        auto* filters = new QHBoxLayout();
        for (const auto& filter : window.filters) {
            filters->addWidget(new QLabel(Q(filter.caption), this));
            auto* code = new QSpinBox(this);
            code->setObjectName(Q(filter.name));
            auto* names = new QComboBox(this);
            names->setObjectName(Q(filter.name + "名称"));
            connect(code, &QSpinBox::valueChanged, this, [this, name = filter.name](int value) {
                if (!m_updating) m_presenter.onFilterChanged(name, value);
            });
            connect(names, &QComboBox::activated, this,
                    [this, name = filter.name](int index) { m_presenter.onFilterChanged(name, index); });
            filters->addWidget(code);
            filters->addWidget(names);
        }
        filters->addStretch();
        outer->addLayout(filters);
    }

    if (window.history) {
        auto* periods = new QHBoxLayout();
        m_period = new QButtonGroup(this);
        m_period->setObjectName("opb_期間");
        int option = 0;
        for (const auto& period : HistoryPeriods()) {
            auto* radio = new QRadioButton(Q(period.caption), this);
            radio->setObjectName(QString("opb_期間_%1").arg(option));
            m_period->addButton(radio, option++);
            periods->addWidget(radio);
        }
        connect(m_period, &QButtonGroup::idClicked, this, [this](int id) { m_presenter.onPeriodChanged(id); });
        periods->addStretch();
        outer->addLayout(periods);
    }

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(addButton(LookupPresenter::kCompoundButton, "検索"));
    if (!window.negativeCaption.empty())
        buttons->addWidget(addButton(LookupPresenter::kNegativeButton, window.negativeCaption));
    if (window.hasClear) buttons->addWidget(addButton(LookupPresenter::kClearButton, "条件ｸﾘｱ"));
    buttons->addStretch();
    buttons->addWidget(addButton(LookupPresenter::kReturnButton, "戻る"));
    outer->addLayout(buttons);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(Q(window.listName));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSortingEnabled(false);
    QStringList headers;
    for (const auto& column : window.columns) headers << Q(column.header);
    m_list->setHeaderLabels(headers);
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(true);
    // A column is never narrower than its caption with the sort arrow, nor
    // than its widest common value: the stored widths were made for another
    // font, and "コード" would read "コート…" and a kana name "ﾄｲﾚｯﾄﾍﾟ…".
    int width = 0;
    for (int i = 0; i < static_cast<int>(window.columns.size()); ++i) {
        const auto& column = window.columns[static_cast<size_t>(i)];
        if (column.rightAligned) m_list->headerItem()->setTextAlignment(i, Qt::AlignRight | Qt::AlignVCenter);
        const int pixels = std::max({Pixels(column.widthTwips), m_list->header()->sectionSizeHint(i),
                                     CellPixels(column.widest, m_list->fontMetrics())});
        m_list->setColumnWidth(i, pixels);
        width += pixels;
    }
    m_list->header()->setStretchLastSection(false);
    connect(m_list->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { m_presenter.onColumnClicked(column); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem*, int) { chooseCurrentRow(); });
    m_list->installEventFilter(this);
    outer->addWidget(m_list, 1);

    m_notice = new QLabel(this);
    m_notice->setObjectName("lab_注意");
    m_notice->setStyleSheet("QLabel { color: #b00000; }");
    m_notice->hide();
    outer->addWidget(m_notice);

    resize(std::min(std::max(width + 40, 640), 1400), 620);
}

QLineEdit* LookupDialog::addField(const FieldDescription& field, QGridLayout* grid, int row) {
    grid->addWidget(new QLabel(Q(field.label), this), row, 0);
    auto* edit = new QLineEdit(this);
    edit->setObjectName(Q(field.name));
    if (field.maxLength > 0) edit->setMaxLength(field.maxLength);
    m_fieldOf[edit] = field.name;
    edit->installEventFilter(this);
    m_loneCtrl->watch(edit);
    connect(edit, &QLineEdit::textEdited, this,
            [this, name = field.name](const QString& text) { m_presenter.onFieldEdited(name, S(text)); });
    grid->addWidget(edit, row, 1);
    if (field.onward) grid->addWidget(new QLabel("以降", this), row, 2);
    int column = 3;
    if (!field.button.empty()) grid->addWidget(addButton(field.button, field.caption), row, column);
    ++column;
    if (!field.nameField.empty()) {
        // Display only: it never keeps the focus.
        auto* name = new QLineEdit(this);
        name->setObjectName(Q(field.nameField));
        name->setReadOnly(true);
        name->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(name, row, column);
    }
    ++column;
    if (!field.opensButton.empty()) grid->addWidget(addButton(field.opensButton, field.opensCaption), row, column);
    for (const auto& box : m_window.boxes) {
        bool belongs = box.name == field.box;
        for (const auto& f : m_window.fields)
            belongs = belongs || (f.secondField == field.name && f.narrowBox == box.name);
        if (!belongs) continue;
        auto* check = new QCheckBox(Q(box.caption), this);
        check->setObjectName(Q(box.name));
        connect(check, &QCheckBox::toggled, this, [this, name = box.name](bool checked) {
            if (!m_updating) m_presenter.onCheckToggled(name, checked);
        });
        grid->addWidget(check, row, column + 1);
    }
    return edit;
}

QPushButton* LookupDialog::addButton(const std::string& name, const std::string& caption) {
    auto* button = new QPushButton(Q(caption), this);
    button->setObjectName(Q(name));
    // Enter in the list chooses a row; no button is a default button that
    // would take Enter from the fields or the list. Enter on a focused button
    // presses that button (see eventFilter).
    button->setAutoDefault(false);
    button->setDefault(false);
    button->installEventFilter(this);
    connect(button, &QPushButton::clicked, this, [this, name] { m_presenter.onButton(name); });
    return button;
}

template <class T>
T* LookupDialog::control(const std::string& name) const {
    return findChild<T*>(Q(name));
}

bool LookupDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && watched == m_list) {
            chooseCurrentRow();
            return true;
        }
        if (auto* button = qobject_cast<QPushButton*>(watched); enter && button) {
            if (button->isEnabled()) button->click();
            return true;
        }
    }
    auto it = m_fieldOf.find(watched);
    if (it != m_fieldOf.end() && !m_updating) {
        const std::string& name = it->second;
        auto* edit = static_cast<QLineEdit*>(watched);
        switch (event->type()) {
            case QEvent::FocusIn:
                m_presenter.onFieldEntered(name);
                break;
            case QEvent::FocusOut:
                m_presenter.onFieldLeft(name, S(edit->text()));
                break;
            case QEvent::MouseButtonDblClick:
                m_presenter.onFieldGesture(name);
                return true;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LookupDialog::chooseCurrentRow() {
    const auto selected = m_list->selectedItems();
    m_presenter.onRowChosen(selected.isEmpty() ? -1 : m_list->indexOfTopLevelItem(selected.front()));
}

void LookupDialog::reject() { m_presenter.onEscape(); }

void LookupDialog::setFieldText(const std::string& field, const std::string& text) {
    if (auto* edit = control<QLineEdit>(field)) {
        m_updating = true;
        edit->setText(Q(text));
        m_updating = false;
    }
}

void LookupDialog::setButtonEnabled(const std::string& button, bool enabled) {
    if (auto* b = control<QPushButton>(button)) b->setEnabled(enabled);
}

void LookupDialog::setButtonCaption(const std::string& button, const std::string& caption) {
    if (auto* b = control<QPushButton>(button)) b->setText(Q(caption));
}

void LookupDialog::setChecked(const std::string& box, bool checked) {
    if (auto* c = control<QCheckBox>(box)) {
        m_updating = true;
        c->setChecked(checked);
        m_updating = false;
    }
}

void LookupDialog::setFilterNames(const std::string& filter, const std::vector<std::string>& names) {
    m_updating = true;
    if (auto* combo = control<QComboBox>(filter + "名称")) {
        combo->clear();
        for (const auto& name : names) combo->addItem(Q(name));
    }
    if (auto* code = control<QSpinBox>(filter)) code->setRange(0, std::max(0, static_cast<int>(names.size()) - 1));
    m_updating = false;
}

void LookupDialog::setFilterValue(const std::string& filter, int value) {
    m_updating = true;
    if (auto* code = control<QSpinBox>(filter)) code->setValue(value);
    if (auto* combo = control<QComboBox>(filter + "名称")) combo->setCurrentIndex(value);
    m_updating = false;
}

void LookupDialog::setPeriod(int option) {
    if (!m_period) return;
    if (auto* button = m_period->button(option)) button->setChecked(true);
}

void LookupDialog::showRows(const std::vector<LookupRow>& rows) {
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& row : rows) {
        auto* item = new QTreeWidgetItem();
        for (int i = 0; i < static_cast<int>(row.cells.size()); ++i) {
            item->setText(i, Q(row.cells[static_cast<size_t>(i)]));
            if (m_window.columns[static_cast<size_t>(i)].rightAligned)
                item->setTextAlignment(i, Qt::AlignRight | Qt::AlignVCenter);
        }
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    m_list->clearSelection();
    m_list->setCurrentItem(nullptr);
    m_list->setUpdatesEnabled(true);
}

void LookupDialog::setSortIndicator(int column, bool ascending) {
    m_list->header()->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void LookupDialog::setNotice(const std::string& text) {
    m_notice->setText(Q(text));
    m_notice->setVisible(!text.empty());
}

void LookupDialog::setFocusTo(const std::string& control) {
    if (auto* widget = findChild<QWidget*>(Q(control))) widget->setFocus(Qt::OtherFocusReason);
}

void LookupDialog::setWindowEnabled(bool enabled) { m_focusKeeper.setEnabled(*this, enabled); }

void LookupDialog::showModal() { exec(); }

void LookupDialog::closeWindow() { QDialog::done(QDialog::Rejected); }

std::unique_ptr<LookupView> QtLookupViewFactory::createView(const WindowDescription& window,
                                                            LookupPresenter& presenter) {
    return std::make_unique<LookupDialog>(window, presenter);
}

}  // namespace velmora
