#include <algorithm>

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>

#include "screens/entry/entry_fields.h"
#include "screens/entry/qt/entry_events.h"
#include "screens/entry/qt/entry_window.h"
#include "screens/lookup/qt/lookup_dialog.h"

// How the entry window is laid out around its detail area: the title row,
// the header, the tail, the command buttons and the notice bar, and the tab
// order through all of them. Which fields exist, their captions, buttons and
// widths come from the field tables; this file only says where they stand.
namespace velmora {

namespace {

using K = EntryFieldKind;

constexpr const char* kUndoButton = "btn_元に戻す";
constexpr const char* kRedoButton = "btn_やり直し";

// A run of header fields, on a registration panel where the system has one.
struct HeaderGroup {
    const char* panel;
    std::vector<std::string> fields;
};
struct HeaderLine {
    std::vector<HeaderGroup> groups;
    bool fill;  // its free texts take the rest of the line
};

// The header in table order, line by line. A setting code brings its list.
const std::vector<HeaderLine>& HeaderLines() {
    static const std::vector<HeaderLine> lines = {
        {{{nullptr, {"営業見積日付年", "営業見積日付月", "営業見積日付日"}},
          {nullptr, {"営業見積No"}},
          {nullptr, {"参照営業見積No"}},
          {nullptr, {"参照営業引合No"}}},
         false},
        {{{"bak_得意先", {"chb_得意先対応先", "得意先コード", "得意先名称A", "得意先名称B"}}}, false},
        {{{"bak_御担当者", {"得意先御担当者コード", "御担当者名"}},
          {nullptr, {"担当者コード", "担当者名"}},
          {nullptr, {"部門コード", "部門名"}},
          {nullptr, {"セクションコード", "セクション名"}}},
         false},
        {{{"bak_納品先", {"chb_納品先対応先", "納品先コード", "納品先名称A", "納品先名称B"}},
          {nullptr, {"定価掛率"}}},
         false},
        {{{nullptr, {"得意先消費税算出区分"}},
          {nullptr, {"得意先消費税区分"}},
          {nullptr, {"消費税表示区分"}},
          {nullptr, {"合計表示区分"}}},
         false},
        {{{nullptr, {"タイトル"}}, {nullptr, {"見積条件"}}}, true},
        {{{nullptr, {"見積納期"}}, {nullptr, {"見積期限"}}, {nullptr, {"chb_Kasmeri", kHeadEnd}}}, true},
    };
    return lines;
}

// The function keys of the command buttons, named above them.
const struct {
    Qt::Key key;
    const char* button;
} kFunctionKeys[] = {
    {Qt::Key_F3, "btn_前No"},  {Qt::Key_F4, "btn_次No"},     {Qt::Key_F5, "btn_画面クリア"},
    {Qt::Key_F8, "btn_削除"},  {Qt::Key_F9, "btn_プレビュ"}, {Qt::Key_F10, "btn_印刷"},
    {Qt::Key_F12, "btn_登録"},
};

QString KeyHint(const std::string& button) {
    for (const auto& key : kFunctionKeys)
        if (button == key.button) return QKeySequence(key.key).toString();
    return {};
}

QFrame* Framed(QFrame* frame, QFrame::Shape shape, QFrame::Shadow shadow) {
    frame->setFrameShape(shape);
    frame->setFrameShadow(shadow);
    return frame;
}

}  // namespace

void EntryWindow::build() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);
    layout->addLayout(buildTitle(central));
    layout->addWidget(buildHeader(central));

    auto* middle = new QHBoxLayout();
    middle->setSpacing(4);
    middle->addWidget(buildDetail(central), 1);
    middle->addWidget(buildLineCommands(central));
    layout->addLayout(middle, 1);

    layout->addWidget(buildTail(central));
    layout->addWidget(buildCommandButtons(central));

    m_notice = new QLabel(central);
    addControl({"お知らせ"}, m_notice);
    Framed(m_notice, QFrame::StyledPanel, QFrame::Sunken);
    m_notice->setMinimumHeight(m_notice->fontMetrics().height() + 8);
    m_notice->setContentsMargins(4, 0, 4, 0);
    layout->addWidget(m_notice);

    setCentralWidget(central);
    setTabChain();
}

QLayout* EntryWindow::buildTitle(QWidget* parent) {
    auto* line = new QHBoxLayout();
    m_title = new QLabel(parent);
    addControl({"prg_ttl"}, m_title);
    Framed(m_title, QFrame::Panel, QFrame::Raised);
    QFont titleFont = m_title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    m_title->setFont(titleFont);
    m_title->setContentsMargins(6, 1, 6, 1);
    line->addWidget(m_title, 1);

    auto* manual = new QLabel("Manual", parent);
    Framed(manual, QFrame::Panel, QFrame::Raised);
    manual->setLineWidth(1);
    manual->setAlignment(Qt::AlignCenter);
    manual->setCursor(Qt::PointingHandCursor);
    // As high as the title beside it, its frame whole on every side with
    // room around the word.
    manual->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    manual->setFixedWidth(manual->fontMetrics().horizontalAdvance(manual->text()) + 2 * (12 + manual->frameWidth()));
    addControl({"manualpanel"}, manual);
    m_clickable.insert(manual);
    manual->installEventFilter(this);
    line->addWidget(manual);
    return line;
}

void EntryWindow::placeField(const std::string& name, QHBoxLayout* line, QWidget* parent) {
    const EntryField* field = FindEntryField(name);
    if (!field) return;
    const int captionWidth = fontMetrics().horizontalAdvance(QString::fromUtf8("御担当者")) + 16;
    if (!field->button.empty()) {
        QPushButton* button = addButton({field->button}, Q(field->caption), parent);
        button->setMinimumWidth(captionWidth);
        line->addWidget(button);
    } else if (!field->caption.empty() && field->kind != K::Check) {
        QLabel* caption = addCaption("itm_ttl_" + field->name, field->caption, parent);
        caption->setMinimumWidth(captionWidth);
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        line->addWidget(caption);
    } else if (field->kind == K::DatePart) {
        line->addWidget(new QLabel("/", parent));
    }
    QWidget* widget = addField(*field, -1, parent);
    if (field->kind == K::List)
        widget->setMinimumWidth(fontMetrics().horizontalAdvance(QString(7, QChar(0x6F22))));
    line->addWidget(widget);
    if (field->kind == K::SettingCode) placeField(field->partner, line, parent);
}

QWidget* EntryWindow::buildHeader(QWidget* parent) {
    auto* header = new QWidget(parent);
    auto* lines = new QVBoxLayout(header);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(2);
    for (const HeaderLine& line : HeaderLines()) {
        auto* row = new QHBoxLayout();
        row->setSpacing(10);
        for (const HeaderGroup& group : line.groups) {
            QWidget* host = header;
            auto* fields = new QHBoxLayout();
            fields->setSpacing(3);
            if (group.panel) {
                host = addPanel({group.panel}, header);
                Framed(static_cast<QFrame*>(host), QFrame::StyledPanel, QFrame::Raised);
                fields->setContentsMargins(3, 1, 3, 1);
                host->setLayout(fields);
                row->addWidget(host);
            } else {
                const bool text =
                    std::any_of(group.fields.begin(), group.fields.end(), [](const std::string& f) {
                        const EntryField* field = FindEntryField(f);
                        return field && field->kind == K::Text;
                    });
                row->addLayout(fields, line.fill && text ? 1 : 0);
            }
            for (const std::string& name : group.fields) placeField(name, fields, host);
        }
        if (!line.fill) row->addStretch(1);
        lines->addLayout(row);
    }
    return header;
}

QWidget* EntryWindow::buildTail(QWidget* parent) {
    auto* tail = new QWidget(parent);
    auto* line = new QHBoxLayout(tail);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(3);
    for (const EntryField& f : TailFields()) placeField(f.name, line, tail);
    return tail;
}

QWidget* EntryWindow::buildCommandButtons(QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(0);
    int column = 0;
    for (const EntryButton& b : CommandButtons()) {
        // The key names read at the window's own size.
        auto* hint = new QLabel(KeyHint(b.name), row);
        hint->setAlignment(Qt::AlignCenter);
        hint->setForegroundRole(QPalette::PlaceholderText);
        grid->addWidget(hint, 0, column);
        QPushButton* button = addButton({b.name}, Q(b.caption), row);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        grid->addWidget(button, 1, column);
        grid->setColumnStretch(column, 1);
        ++column;
    }
    return row;
}

void EntryWindow::addShortcuts() {
    for (const auto& key : kFunctionKeys) {
        auto* shortcut = new QShortcut(QKeySequence(key.key), this);
        connect(shortcut, &QShortcut::activated, this,
                [this, name = std::string(key.button)] { pressButton(name); });
    }
    // Undo and redo of the lines where no field takes the keys (a list, a
    // check box); the fields decide for themselves (historyKey).
    const std::pair<QKeyCombination, const char*> historyKeys[] = {
        {Qt::CTRL | Qt::Key_Z, kUndoButton},
        {Qt::CTRL | Qt::Key_Y, kRedoButton},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, kRedoButton},
    };
    for (const auto& [keys, name] : historyKeys) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        connect(shortcut, &QShortcut::activated, this, [this, name = std::string(name)] { pressButton(name); });
    }
    // F2 opens the focused field's lookup, as a double-click does.
    auto* lookup = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(lookup, &QShortcut::activated, this, [this] {
        QWidget* focused = QApplication::focusWidget();
        if (m_fieldOf.count(focused)) {
            const Control control = ControlOf(focused);
            report([&](EntryEvents& e) { e.FieldGesture(control); });
        }
    });
}

void EntryWindow::pressButton(const std::string& name) {
    auto* button = qobject_cast<QPushButton*>(widgetOf({name}));
    if (button && button->isVisible()) button->click();
}

void EntryWindow::historyKey(QObject* field, bool undo) {
    // As in a spreadsheet: what was typed into the field since it was
    // entered is taken back first, then the line actions.
    auto* edit = qobject_cast<QLineEdit*>(field);
    if (edit && edit == m_entered && edit->text() != m_enteredText && undo && edit->isUndoAvailable())
        return edit->undo();
    if (edit && edit == m_entered && !undo && edit->isRedoAvailable()) return edit->redo();
    if (auto* memo = qobject_cast<QPlainTextEdit*>(field)) {
        if (undo && memo->document()->isUndoAvailable()) return memo->undo();
        if (!undo && memo->document()->isRedoAvailable()) return memo->redo();
    }
    pressButton(undo ? kUndoButton : kRedoButton);
}

// Tab walks the fields in the screen's tab order (the header, ヘッド終了, page 1
// row by row, each closed by 頁1終了, page 2 likewise, the tail and the memo
// page), then the lists. Pages that are not shown drop out by themselves.
void EntryWindow::setTabChain() {
    std::vector<Control> order = EntryTabOrder();
    order.push_back({kActivityList});
    order.push_back({kAttachmentList});
    QWidget* previous = nullptr;
    for (const Control& control : order) {
        QWidget* widget = widgetOf(control);
        if (!widget) continue;
        if (previous) setTabOrder(previous, widget);
        previous = widget;
    }
}

}  // namespace velmora
