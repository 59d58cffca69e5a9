#include "screens/entry/qt/entry_window.h"

#include <algorithm>
#include <limits>
#include <optional>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFontDatabase>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include "screens/entry/entry_fields.h"
#include "screens/entry/qt/entry_events.h"
#include "screens/entry/qt/field_widgets.h"
#include "screens/lookup/qt/lone_ctrl_detector.h"
#include "screens/entry/qt/save_confirm_dialog.h"
#include "screens/entry/qt/wait_dialog.h"
#include "screens/lookup/qt/lookup_dialog.h"
#include "screens/lookup/qt/window_focus.h"

namespace velmora {

namespace {

std::string S(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString ObjectName(const Control& control) {
    return control.row < 0 ? Q(control.name) : Q(control.name) + "_" + QString::number(control.row);
}

// The keys that move through the lines from a row field.
std::optional<EntryPresenter::LineMove> LineMoveOf(const QKeyEvent& key) {
    using Move = EntryPresenter::LineMove;
    const auto modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::NoModifier) {
        if (key.key() == Qt::Key_PageDown) return Move::PageDown;
        if (key.key() == Qt::Key_PageUp) return Move::PageUp;
        if (key.key() == Qt::Key_F6) return Move::Kind;
    } else if (modifiers == Qt::ControlModifier) {
        if (key.key() == Qt::Key_Home) return Move::First;
        if (key.key() == Qt::Key_End) return Move::Last;
    }
    return std::nullopt;
}

// Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo.
enum class HistoryKey { None, Undo, Redo };
HistoryKey HistoryKeyOf(const QKeyEvent& key) {
    const auto modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier && key.key() == Qt::Key_Z) return HistoryKey::Undo;
    if (modifiers == Qt::ControlModifier && key.key() == Qt::Key_Y) return HistoryKey::Redo;
    if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && key.key() == Qt::Key_Z) return HistoryKey::Redo;
    return HistoryKey::None;
}

// Wide enough for the product names, narrow enough for a 1280 pixel screen.
constexpr int kPreferredWidth = 1260;
// Angle of one notch of a mouse wheel.
constexpr int kWheelNotch = 120;

}  // namespace

EntryWindow::EntryWindow(EntryPresenter& presenter, QWidget* parent)
    : EntryWindow(std::make_unique<PresenterEvents>(presenter), nullptr, parent) {}

EntryWindow::EntryWindow(EntryEvents& events, QWidget* parent) : EntryWindow(nullptr, &events, parent) {}

EntryWindow::EntryWindow(std::unique_ptr<EntryEvents> own, EntryEvents* events, QWidget* parent)
    : QMainWindow(parent), m_ownEvents(std::move(own)), m_events(events ? *events : *m_ownEvents) {
    setObjectName("frmVelmora");
    m_ctrl = new LoneCtrlDetector(this);
    connect(m_ctrl, &LoneCtrlDetector::loneCtrl, this, [this](QWidget* field) {
        const Control control = ControlOf(field);
        if (!control.empty()) report([&](EntryEvents& e) { e.FieldGesture(control); });
    });
    build();
    addShortcuts();
    // As high as the regions need, so the notice bar is the bottom edge; as
    // wide as a common screen allows, for the product names.
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, kPreferredWidth, sizeHint().height());
    resize(std::clamp(kPreferredWidth, sizeHint().width(), std::max(screen.width(), sizeHint().width())),
           sizeHint().height());
    Busy busy(*this);
    m_events.Load(*this);
}

EntryWindow::~EntryWindow() = default;

// ---- what the user does -------------------------------------------------------

bool EntryWindow::reporting() const {
    return m_busy == 0 && !m_ending;
}

Control EntryWindow::ControlOf(const QObject* widget) const {
    auto it = m_controlOf.find(widget);
    return it == m_controlOf.end() ? Control{} : it->second;
}

void EntryWindow::addControl(const Control& control, QWidget* widget) {
    if (widget->objectName().isEmpty()) widget->setObjectName(ObjectName(control));
    m_widgets[control].push_back(widget);
    m_controlOf[widget] = control;
    m_ownPalette[widget] = widget->palette();
    if (control.row >= 0) {
        // The wheel anywhere on a row scrolls the rows; a list under it keeps its entry.
        m_rowArea.insert(widget);
        widget->installEventFilter(this);
    }
}

QWidget* EntryWindow::addField(const EntryField& field, int row, QWidget* parent) {
    QWidget* widget = MakeFieldWidget(field, parent);
    const Control control{field.name, row};
    addControl(control, widget);
    m_fieldOf[widget] = &field;
    // Codes, dates and figures are as wide as their longest value; texts and
    // names at least that wide.
    const int width = FieldWidth(field, widget->fontMetrics());
    if (width > 0 && (IsFigure(field) || field.kind == EntryFieldKind::Code))
        widget->setFixedWidth(width);
    else if (width > 0)
        widget->setMinimumWidth(width);
    // Focus, Enter and double-clicks of everything that can take the focus.
    if (field.kind != EntryFieldKind::Display) widget->installEventFilter(this);

    if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && !edit->isReadOnly()) {
        m_ctrl->watch(edit);
        if (field.kind == EntryFieldKind::Text)
            connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
                report([&](EntryEvents& e) { e.FieldEdited(control, S(text)); });
            });
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        m_ctrl->watch(memo);
    } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
        // clicked, unlike toggled, comes from the user only.
        connect(box, &QCheckBox::clicked, this, [this, control](bool checked) {
            report([&](EntryEvents& e) { e.CheckToggled(control, checked); });
        });
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        connect(list, &QComboBox::activated, this, [this, control](int index) {
            report([&](EntryEvents& e) { e.ListChosen(control, index); });
        });
    }
    return widget;
}

QPushButton* EntryWindow::addButton(const Control& control, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    addControl(control, button);
    connect(button, &QPushButton::clicked, this,
            [this, control] { report([&](EntryEvents& e) { e.ButtonPressed(control); }); });
    return button;
}

QLabel* EntryWindow::addCaption(const std::string& name, const std::string& caption, QWidget* parent) {
    auto* label = new QLabel(Q(caption), parent);
    addControl({name}, label);
    m_clickable.insert(label);
    label->installEventFilter(this);
    return label;
}

QWidget* EntryWindow::addPanel(const Control& panel, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setAutoFillBackground(true);
    addControl(panel, frame);
    m_clickable.insert(frame);
    frame->installEventFilter(this);
    return frame;
}

bool EntryWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusIn: {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            const bool byUser = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                                reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason ||
                                reason == Qt::OtherFocusReason;
            // While tab_詳細 changes pages Qt hands the focus to a field of the
            // new page; the page change is reported instead.
            const bool pageChanging = m_detail && m_detail->currentIndex() != m_page;
            const Control control = ControlOf(watched);
            if (auto* edit = qobject_cast<QLineEdit*>(watched); edit && m_fieldOf.count(edit)) {
                m_entered = edit;
                m_enteredText = edit->text();
            }
            if (byUser && !pageChanging && !control.empty())
                report([&](EntryEvents& e) {
                    using By = EntryPresenter::FocusBy;
                    e.FocusMoved(control, reason == Qt::TabFocusReason      ? By::Tab
                                          : reason == Qt::BacktabFocusReason ? By::BackTab
                                                                             : By::Other);
                });
            break;
        }
        case QEvent::ShortcutOverride:
            // The keys of undo and redo reach the field, which decides whose
            // history they mean.
            if (HistoryKeyOf(*static_cast<QKeyEvent*>(event)) != HistoryKey::None && m_fieldOf.count(watched)) {
                event->accept();
                return true;
            }
            break;
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (const HistoryKey history = HistoryKeyOf(*key);
                history != HistoryKey::None && m_fieldOf.count(watched)) {
                historyKey(watched, history == HistoryKey::Undo);
                return true;
            }
            if (auto* tree = qobject_cast<QTreeWidget*>(watched);
                tree && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                activateListRow(tree);
                return true;
            }
            if (const auto move = LineMoveOf(*key); move && m_fieldOf.count(watched) && ControlOf(watched).row >= 0) {
                report([&](EntryEvents& e) { e.LineKey(*move); });
                return true;
            }
            auto* edit = qobject_cast<QLineEdit*>(watched);
            if (edit && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                m_fieldOf.count(edit)) {
                // Enter moves on as Tab does.
                focusNextPrevChild(true);
                return true;
            }
            break;
        }
        case QEvent::MouseButtonDblClick: {
            auto it = m_fieldOf.find(watched);
            if (it == m_fieldOf.end() || !IsTypedKind(it->second->kind)) break;
            const Control control = ControlOf(watched);
            report([&](EntryEvents& e) { e.FieldGesture(control); });
            // A field with a lookup keeps the window's choice, not a word selection.
            if (it->second->lookup || it->second->gestureLookup) return true;
            break;
        }
        case QEvent::MouseButtonPress:
            if (m_clickable.count(watched) && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                m_pressed = watched;
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (m_clickable.count(watched) && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                const bool clicked =
                    m_pressed == watched && static_cast<QWidget*>(watched)->rect().contains(
                                                static_cast<QMouseEvent*>(event)->position().toPoint());
                m_pressed = nullptr;
                if (clicked) {
                    const Control control = ControlOf(watched);
                    report([&](EntryEvents& e) { e.PanelClicked(control); });
                }
                return true;
            }
            break;
        case QEvent::Wheel:
            if (m_rowArea.count(watched)) {
                // Notches add up, so a fine-grained touchpad scrolls too.
                m_wheelRest -= static_cast<QWheelEvent*>(event)->angleDelta().y();
                const int steps = m_wheelRest / kWheelNotch;
                m_wheelRest %= kWheelNotch;
                if (steps != 0) report([&](EntryEvents& e) { e.Wheel(steps); });
                return true;
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void EntryWindow::closeEvent(QCloseEvent* event) {
    if (m_ending) {
        event->accept();
        return;
    }
    if (m_busy > 0) {
        event->ignore();
        return;
    }
    bool ended = false;
    {
        Busy busy(*this);
        ended = m_events.CloseRequested();
    }
    if (ended) {
        m_ending = true;
        event->accept();
    } else {
        event->ignore();
    }
}

void EntryWindow::endSession() {
    if (m_ending) return;
    if (m_busy > 0) {
        // A question or a lookup is open: it is answered with its cancel, and
        // the end follows once the presenter has returned.
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
        QTimer::singleShot(50, this, &EntryWindow::endSession);
        return;
    }
    m_ending = true;
    m_events.EndWithoutAsking();
    close();
}

// ---- what the presenter shows -------------------------------------------------

std::vector<QWidget*> EntryWindow::widgetsOf(const Control& control) const {
    auto it = m_widgets.find(control);
    return it == m_widgets.end() ? std::vector<QWidget*>{} : it->second;
}

QWidget* EntryWindow::widgetOf(const Control& control) const {
    auto it = m_widgets.find(control);
    return it == m_widgets.end() || it->second.empty() ? nullptr : it->second.front();
}

void EntryWindow::SetWindowCaption(const std::string& caption) {
    setWindowTitle(Q(caption));
}

void EntryWindow::SetTitlePanel(const std::string& caption) {
    m_title->setText(Q(caption));
}

void EntryWindow::SetNotice(const std::string& text) {
    m_notice->setText(Q(text));
}

void EntryWindow::takeKeyboardBack() { TakeKeyboardBack(*this); }

bool EntryWindow::AskYesNo(const std::string& text, bool defaultNo) {
    Busy busy(*this);
    QMessageBox box(QMessageBox::Question, "Velmora", Q(text), QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    const bool yes = box.exec() == QMessageBox::Yes;
    takeKeyboardBack();
    return yes;
}

EntryView::RestoreAnswer EntryWindow::AskRestore(const std::string& question) {
    Busy busy(*this);
    QMessageBox box(QMessageBox::Question, "Velmora", Q(question), QMessageBox::NoButton, this);
    QPushButton* restore = box.addButton(Q("復元する(&Y)"), QMessageBox::YesRole);
    QPushButton* discard = box.addButton(Q("破棄する(&N)"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(Q("後で(&L)"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.setEscapeButton(later);
    box.exec();
    takeKeyboardBack();
    if (box.clickedButton() == restore) return RestoreAnswer::Restore;
    if (box.clickedButton() == discard) return RestoreAnswer::Discard;
    return RestoreAnswer::Later;
}

void EntryWindow::ShowMessage(const std::string& text) {
    Busy busy(*this);
    QMessageBox::information(this, "Velmora", Q(text));
    takeKeyboardBack();
}

void EntryWindow::SetText(const Control& control, const std::string& text) {
    Busy busy(*this);
    for (QWidget* widget : widgetsOf(control)) {
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setText(Q(text));
            // Long texts show their beginning.
            edit->setCursorPosition(0);
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setText(Q(text));
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
            const QSignalBlocker block(memo);
            memo->setPlainText(Q(text));
        }
    }
}

std::string EntryWindow::Text(const Control& control) const {
    QWidget* widget = widgetOf(control);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return S(edit->text());
    if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) return S(memo->toPlainText());
    if (auto* label = qobject_cast<QLabel*>(widget)) return S(label->text());
    if (auto* list = qobject_cast<QComboBox*>(widget)) return S(list->currentText());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return S(button->text());
    return {};
}

void EntryWindow::SetChecked(const Control& box, bool checked) {
    Busy busy(*this);
    for (QWidget* widget : widgetsOf(box))
        if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            const QSignalBlocker block(check);
            check->setChecked(checked);
        }
}

void EntryWindow::SetListItems(const std::string& list, const std::vector<std::string>& names) {
    Busy busy(*this);
    QStringList items;
    for (const auto& name : names) items << Q(name);
    // Every row's list of that name.
    for (auto it = m_widgets.lower_bound(Control{list, std::numeric_limits<int>::min()});
         it != m_widgets.end() && it->first.name == list; ++it)
        for (QWidget* widget : it->second)
            if (auto* combo = qobject_cast<QComboBox*>(widget)) {
                const QSignalBlocker block(combo);
                combo->clear();
                combo->addItems(items);
            }
}

void EntryWindow::SetListIndex(const Control& list, int index) {
    Busy busy(*this);
    for (QWidget* widget : widgetsOf(list))
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(index < combo->count() ? index : -1);
        }
}

void EntryWindow::SetEnabled(const Control& control, bool enabled) {
    Busy busy(*this);
    for (QWidget* widget : widgetsOf(control)) widget->setEnabled(enabled);
}

void EntryWindow::SetTabStop(const Control& control, bool tabStop) {
    Busy busy(*this);
    for (QWidget* widget : widgetsOf(control))
        widget->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void EntryWindow::SetVisible(const Control& control, bool visible) {
    Busy busy(*this);
    for (QWidget* widget : widgetsOf(control)) widget->setVisible(visible);
}

void EntryWindow::setColour(const Control& control, Colour colour, bool text) {
    Busy busy(*this);
    for (QWidget* widget : widgetsOf(control)) {
        QPalette::ColorRole role;
        if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
            qobject_cast<QComboBox*>(widget))
            role = text ? QPalette::Text : QPalette::Base;
        else if (qobject_cast<QPushButton*>(widget))
            role = text ? QPalette::ButtonText : QPalette::Button;
        else
            role = text ? QPalette::WindowText : QPalette::Window;
        const QPalette& own = m_ownPalette[widget];
        QPalette palette = widget->palette();
        // A disabled control keeps its greyed look.
        for (auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(
                group, role,
                colour.isDefault() ? own.color(group, role) : QColor(colour.r, colour.g, colour.b));
        widget->setPalette(palette);
    }
}

void EntryWindow::SetTextColour(const Control& control, Colour colour) {
    setColour(control, colour, true);
}

void EntryWindow::SetBackColour(const Control& control, Colour colour) {
    setColour(control, colour, false);
}

void EntryWindow::SetCaption(const Control& control, const std::string& caption) {
    Busy busy(*this);
    for (QWidget* widget : widgetsOf(control)) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(Q(caption));
        else if (auto* label = qobject_cast<QLabel*>(widget))
            label->setText(Q(caption));
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            group->setTitle(Q(caption));
    }
}

void EntryWindow::FocusControl(const Control& control) {
    Busy busy(*this);
    if (QWidget* widget = widgetOf(control)) widget->setFocus(Qt::OtherFocusReason);
}

void EntryWindow::SetDetailEnabled(bool enabled) {
    Busy busy(*this);
    m_detail->setEnabled(enabled);
}

void EntryWindow::SetDetailPage(int page) {
    Busy busy(*this);
    m_page = page;
    m_detail->setCurrentIndex(page);
}

void EntryWindow::SetScrollBar(bool enabled, int maximum, int value) {
    Busy busy(*this);
    const QSignalBlocker block(m_scroll);
    m_scroll->setRange(0, maximum);
    m_scroll->setValue(value);
    m_scroll->setEnabled(enabled);
}

void EntryWindow::SetScrollBarVisible(bool visible) {
    Busy busy(*this);
    m_scrollVisible = visible;
    m_scroll->setVisible(visible);
}

void EntryWindow::SetWindowEnabled(bool enabled) {
    Busy busy(*this);
    m_focusKeeper.setEnabled(*this, enabled);
}

int EntryWindow::AskSaveConfirmation(const std::string& question, bool loaded, const std::string& warning) {
    Busy busy(*this);
    const int answer = SaveConfirmDialog::Ask(this, question, loaded, warning);
    takeKeyboardBack();
    return answer;
}

void EntryWindow::ShowWait(bool visible) {
    Busy busy(*this);
    if (visible) {
        if (!m_wait) m_wait = std::make_unique<WaitDialog>(this);
        m_wait->showPainted();
    } else if (m_wait) {
        m_wait->hide();
        takeKeyboardBack();
    }
}

void EntryWindow::Pause(int ms) {
    Busy busy(*this);
    // Paints and timers run; keys and clicks wait until the pause is over.
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void EntryWindow::RunLater(int ms, std::function<void()> task) {
    QTimer::singleShot(ms, this, [this, task = std::move(task)]() mutable { runWhenFree(std::move(task)); });
}

void EntryWindow::runWhenFree(std::function<void()> task) {
    if (m_ending) return;
    if (m_busy > 0) {
        QTimer::singleShot(50, this, [this, task = std::move(task)]() mutable { runWhenFree(std::move(task)); });
        return;
    }
    Busy busy(*this);
    task();
}

void EntryWindow::CloseWindow() {
    m_ending = true;
    close();
}

void UseJapaneseFont() {
    const QString family = QString::fromUtf8("Noto Sans CJK JP");
    if (!QFontDatabase::families().contains(family)) return;
    QFont font(family);
    font.setPointSizeF(QApplication::font().pointSizeF());
    QApplication::setFont(font);
}

}  // namespace velmora
