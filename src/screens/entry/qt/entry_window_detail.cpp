#include <algorithm>

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "pricing/totals.h"
#include "screens/entry/entry_fields.h"
#include "screens/entry/qt/entry_events.h"
#include "screens/entry/qt/entry_window.h"
#include "screens/entry/qt/field_widgets.h"
#include "screens/lookup/qt/lookup_dialog.h"

// The detail area of the entry window: tab_詳細 with its ten-row pages, the
// scroll bar beside the rows, the lists, the memo, and the line commands.
namespace velmora {

namespace {

using K = EntryFieldKind;

// The totals below the rows: each under its column, its caption in the
// column before it.
struct Total {
    const char* name;
    const char* caption;
    const char* under;
    int line;  // 0 the line below the rows, 1 the one below that
};
const std::vector<Total>& Totals(int page) {
    static const std::vector<Total> sales = {
        {"見積数量合計", "", "見積数量", 0},
        {"税抜見積金額合計", "合計", "見積金額", 0},
        {"見積消費税合計", "", "見積消費税", 0},
        {"税込見積金額合計", "税込合計", "見積金額", 1},
    };
    static const std::vector<Total> purchase = {
        {"仕入数量合計", "", "仕入数量", 0},
        {"税抜仕入金額合計", "合計", "仕入金額", 0},
        {"仕入消費税合計", "", "仕入消費税", 0},
        {"税込仕入金額合計", "税込合計", "仕入金額", 1},
    };
    return page == 1 ? sales : purchase;
}

// Page 2 shows the product name where the supplier columns stand; the line
// commands switch between the two.
constexpr const char* kPurchaseName = "仕入商品名";

// Product and supplier names: the columns that widen with the window.
bool IsNameColumn(const EntryField& field) {
    return field.kind == K::Text && field.maxBytes >= 40;
}
// Full-width characters a name column shows at least.
constexpr int kRowNameChars = 12;
// What a line edit's frame and text margins take of its width.
constexpr int kLineEditMargins = 12;

// The subtotal lines show their label (小計 … 合計, set right by ideographic
// spaces) in the name column: it shows whole.
int LongestSubtotalLabel(const QFontMetrics& metrics) {
    int widest = 0;
    for (std::int16_t kind = kLineSubtotal; kind <= kLineGrandTotal; ++kind)
        widest = std::max(widest, metrics.horizontalAdvance(Q(SubtotalLabel(kind))));
    return widest;
}

const std::vector<const char*> kActivityColumns = {"日付", "時刻", "担当者",   "発信", "対応",
                                                   "要件", "段階", "御担当者", "摘要"};
const std::vector<const char*> kAttachmentColumns = {"書類名", "サイズ", "更新日付"};

const char* kPageTitles[] = {"見積情報", "仕入情報", "対応履歴", "メモ", "付属書類"};

}  // namespace

QWidget* EntryWindow::buildDetail(QWidget* parent) {
    m_detail = new QTabWidget(parent);
    addControl({"tab_詳細"}, m_detail);
    m_detail->setFocusPolicy(Qt::NoFocus);
    m_detail->tabBar()->setFocusPolicy(Qt::NoFocus);

    m_scroll = new QScrollBar(Qt::Vertical, parent);
    addControl({"scl_行"}, m_scroll);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setSingleStep(1);
    m_scroll->setPageStep(kVisibleRows);
    m_scroll->setRange(0, 0);
    m_scroll->setEnabled(false);
    connect(m_scroll, &QScrollBar::valueChanged, this,
            [this](int value) { report([&](EntryEvents& e) { e.Scrolled(value); }); });

    m_detail->addTab(buildRowPage(1, m_detail), QString::fromUtf8(kPageTitles[kPageSales]));
    m_detail->addTab(buildRowPage(2, m_detail), QString::fromUtf8(kPageTitles[kPagePurchase]));
    m_detail->addTab(buildListPage(kActivityList, kActivityColumns, m_detail),
                     QString::fromUtf8(kPageTitles[kPageActivities]));
    m_detail->addTab(buildMemoPage(m_detail), QString::fromUtf8(kPageTitles[kPageMemo]));
    m_detail->addTab(buildAttachmentPage(m_detail), QString::fromUtf8(kPageTitles[kPageAttachments]));
    placeScrollBar(kPageSales);

    connect(m_detail, &QTabWidget::currentChanged, this, [this](int page) {
        placeScrollBar(page);
        m_page = page;
        report([&](EntryEvents& e) { e.PageChosen(page); });
    });
    return m_detail;
}

// The two row pages share the one scroll bar; it moves to the page shown,
// beside its rows.
void EntryWindow::placeScrollBar(int page) {
    auto grid = m_rowGrids.find(page + 1);
    if (grid == m_rowGrids.end()) return;
    grid->second->addWidget(m_scroll, 1, m_scrollColumn[page + 1], kVisibleRows, 1);
    m_scroll->setVisible(m_scrollVisible);
}

QWidget* EntryWindow::buildRowPage(int page, QWidget* parent) {
    auto* area = new QWidget(parent);
    m_rowArea.insert(area);
    area->installEventFilter(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(2);
    const int rowHeight = QLineEdit().sizeHint().height();

    std::vector<const EntryField*> fields;
    for (const EntryField& f : RowFields())
        if (f.page == page) fields.push_back(&f);

    // Columns: the row number, then every field and its lookup button in
    // table order; the product name of page 2 takes the supplier columns.
    std::map<std::string, int> column;
    std::map<std::string, int> span;
    int next = 1;
    int firstCode = -1;
    for (const EntryField* f : fields) {
        if (f->name == kPurchaseName) {
            column[f->name] = 1;
            span[f->name] = next - 1;
            continue;
        }
        if (f->kind == K::Code && firstCode < 0) firstCode = next;
        column[f->name] = next;
        span[f->name] = f->button.empty() ? 1 : 2;
        next += span[f->name];
    }
    const int columns = next;
    m_scrollColumn[page] = columns;
    m_rowGrids[page] = grid;

    // Page 2's supplier columns: the fields whose place the product name takes.
    auto supplierColumn = [&](const EntryField& f) {
        auto name = column.find(kPurchaseName);
        return name != column.end() && f.name != kPurchaseName &&
               column[f.name] < name->second + span[kPurchaseName];
    };

    // Column captions; the product name's names the supplier columns too.
    for (const EntryField* f : fields) {
        if (f->caption.empty() || supplierColumn(*f)) continue;
        const std::string name = f->name == kPurchaseName ? kPurchaseColumnCaption : "itm_ttl_" + f->name;
        QLabel* caption = addCaption(name, f->caption, area);
        caption->setAlignment(Qt::AlignCenter);
        grid->addWidget(caption, 0, column[f->name], 1, span[f->name]);
    }

    // Ten rows, each on its panels (made first, so they lie under the fields).
    for (int row = 0; row < kVisibleRows; ++row) {
        const int line = row + 1;
        if (page == 1) {
            grid->addWidget(addPanel({"bak_dtla", row}, area), line, 0, 1, firstCode);
            grid->addWidget(addPanel({"bak_dtlb", row}, area), line, firstCode, 1, columns - firstCode);
        } else {
            grid->addWidget(addPanel({"bak_dtlc", row}, area), line, 0, 1, columns);
        }
        auto* number = new QLabel(area);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setMinimumWidth(fontMetrics().horizontalAdvance("9999") + 4);
        addControl({"Lab_行No", row}, number);
        m_clickable.insert(number);
        number->installEventFilter(this);
        grid->addWidget(number, line, 0);

        for (const EntryField* f : fields) {
            QWidget* widget = addField(*f, row, area);
            const bool own = f->button.empty() || f->name == kPurchaseName;
            grid->addWidget(widget, line, column[f->name], 1, own ? span[f->name] : 1);
            if (f->kind == K::List)
                widget->setFixedWidth(fontMetrics().horizontalAdvance(QString(6, QChar(0x6F22))) + 24);
            // Names take what the figures leave of the line, at least the
            // width of the subtotal labels; units keep their width.
            if (IsNameColumn(*f))
                widget->setMinimumWidth(std::max(
                    fontMetrics().horizontalAdvance(QString(kRowNameChars, QChar(0x6F22))),
                    LongestSubtotalLabel(widget->fontMetrics()) + kLineEditMargins));
            else if (f->kind == K::Text)
                widget->setFixedWidth(widget->minimumWidth());
            if (f->kind != K::Check && f->kind != K::Sentinel) widget->setFixedHeight(rowHeight);
            if (!f->button.empty()) {
                QPushButton* button = addButton({f->button, row}, QString::fromUtf8("…"), area);
                button->setToolTip(Q(f->caption));
                button->setFixedSize(fontMetrics().horizontalAdvance(QString::fromUtf8("…")) + 14, rowHeight);
                grid->addWidget(button, line, column[f->name] + 1);
            }
        }
    }
    // The supplier columns start switched off.
    for (const EntryField* f : fields)
        if (supplierColumn(*f))
            for (int row = 0; row < kVisibleRows; ++row) {
                for (QWidget* w : widgetsOf({f->name, row})) w->hide();
                for (QWidget* w : widgetsOf({f->button, row})) w->hide();
            }

    // Totals.
    for (const Total& total : Totals(page)) {
        const EntryField* under = FindEntryField(total.under);
        auto* value = new QLineEdit(area);
        value->setReadOnly(true);
        value->setFocusPolicy(Qt::NoFocus);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFixedSize(FieldWidth(*under, value->fontMetrics()), rowHeight);
        QPalette palette = value->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        value->setPalette(palette);
        addControl({total.name}, value);
        const int line = kVisibleRows + 1 + total.line;
        grid->addWidget(value, line, column[total.under]);
        if (*total.caption) {
            QLabel* caption = addCaption(std::string("itm_ttl_") + total.name, total.caption, area);
            caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(caption, line, column[total.under] - 1);
        }
    }

    for (const EntryField* f : fields)
        if (IsNameColumn(*f)) grid->setColumnStretch(column[f->name], 1);
    grid->setRowStretch(kVisibleRows + 3, 1);
    return area;
}

QWidget* EntryWindow::buildListPage(const std::string& list, const std::vector<const char*>& columns,
                                    QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* tree = new QTreeWidget(page);
    tree->setRootIsDecorated(false);
    tree->setUniformRowHeights(true);
    tree->setAllColumnsShowFocus(true);
    QStringList headers;
    for (const char* column : columns) headers << QString::fromUtf8(column);
    tree->setHeaderLabels(headers);
    addControl({list}, tree);
    tree->installEventFilter(this);
    // A click on a column header sorts by that column's text; a second click
    // on the same column turns the order round.
    QHeaderView* header = tree->header();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, tree, [tree, header](int column) {
        const bool again = header->isSortIndicatorShown() && header->sortIndicatorSection() == column;
        const Qt::SortOrder order =
            again && header->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        tree->sortItems(column, order);
        header->setSortIndicator(column, order);
        header->setSortIndicatorShown(true);
    });
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, tree](QTreeWidgetItem* item) {
        tree->setCurrentItem(item);
        activateListRow(tree);
    });
    layout->addWidget(tree, 1);
    return page;
}

namespace {

// Each item remembers the index of its row in the rows the list was given.
constexpr int kRowIndexRole = Qt::UserRole;

int RowIndexOf(const QTreeWidget* tree) {
    const QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
    return item && item->isSelected() ? item->data(0, kRowIndexRole).toInt() : -1;
}

}  // namespace

void EntryWindow::activateListRow(QTreeWidget* tree) {
    const Control control = ControlOf(tree);
    const int row = RowIndexOf(tree);
    if (control.empty() || row < 0) return;
    report([&](EntryEvents& e) { e.ListActivated(control.name, row); });
}

void EntryWindow::SetListRows(const std::string& list, const std::vector<std::vector<std::string>>& rows) {
    Busy busy(*this);
    auto* tree = qobject_cast<QTreeWidget*>(widgetOf({list}));
    if (!tree) return;
    tree->clear();
    tree->header()->setSortIndicatorShown(false);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        QStringList cells;
        for (const std::string& cell : rows[i]) cells << Q(cell);
        auto* item = new QTreeWidgetItem(cells);
        item->setData(0, kRowIndexRole, static_cast<int>(i));
        items << item;
    }
    tree->addTopLevelItems(items);
    if (!items.isEmpty())
        for (int column = 0; column + 1 < tree->columnCount(); ++column) tree->resizeColumnToContents(column);
}

int EntryWindow::ListCurrentRow(const std::string& list) const {
    return RowIndexOf(qobject_cast<const QTreeWidget*>(widgetOf({list})));
}

std::string EntryWindow::ChooseFile(const std::string& startFolder, const std::vector<FileFilter>& filters) {
    Busy busy(*this);
    QStringList types;
    // "*.*" means every file, also those without a dot in the name.
    for (const FileFilter& f : filters)
        types << Q(f.name) + " (" + (f.pattern == "*.*" ? QString("*") : Q(f.pattern)) + ")";
    const QString chosen =
        QFileDialog::getOpenFileName(this, QString::fromUtf8("付属書類追加"), Q(startFolder), types.join(";;"));
    return chosen.toStdString();
}

std::string EntryWindow::ChooseFolder(const std::string& title, const std::string& startFolder) {
    Busy busy(*this);
    return QFileDialog::getExistingDirectory(this, Q(title), Q(startFolder)).toStdString();
}

QWidget* EntryWindow::buildMemoPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* date = new QHBoxLayout();
    for (const EntryField& f : MemoFields()) {
        if (f.kind == K::Memo)
            layout->addWidget(addField(f, -1, page), 1);
        else
            placeField(f.name, date, page);
    }
    date->addStretch(1);
    layout->addLayout(date);
    return page;
}

QWidget* EntryWindow::buildAttachmentPage(QWidget* parent) {
    QWidget* page = buildListPage(kAttachmentList, kAttachmentColumns, parent);
    auto* buttons = new QHBoxLayout();
    for (const EntryButton& b : AttachmentButtons()) {
        QPushButton* button = addButton({b.name}, Q(b.caption), page);
        // Attachments belong to stored quotations; the screen enables them.
        button->setEnabled(false);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    static_cast<QVBoxLayout*>(page->layout())->addLayout(buttons);
    return page;
}

QWidget* EntryWindow::buildLineCommands(QWidget* parent) {
    auto* column = new QWidget(parent);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 24, 0, 0);
    layout->setSpacing(2);
    QGroupBox* group = nullptr;
    for (const EntryButton& b : LineCommandButtons()) {
        if (b.designatedLine && !group) {
            group = new QGroupBox(QString::fromUtf8("　指定行"), column);
            auto* inside = new QVBoxLayout(group);
            inside->setContentsMargins(3, 3, 3, 3);
            inside->setSpacing(2);
            layout->addWidget(group);
        }
        QWidget* host = b.designatedLine ? static_cast<QWidget*>(group) : column;
        QPushButton* button = addButton({b.name}, Q(b.caption), host);
        if (b.designatedLine)
            group->layout()->addWidget(button);
        else
            layout->addWidget(button);
    }
    layout->addStretch(1);
    return column;
}

}  // namespace velmora
