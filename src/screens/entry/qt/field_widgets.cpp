#include "screens/entry/qt/field_widgets.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "screens/lookup/qt/lookup_dialog.h"

namespace velmora {

namespace {

using K = EntryFieldKind;

// Frame and text margins of a line edit around its text.
constexpr int kEditPadding = 14;
// Widest figure shown in a line: eleven integer digits with separators.
constexpr const char* kWidestFigure = "99,999,999,999";
// Names from a master are shown in this many full-width characters.
constexpr int kDisplayChars = 10;
// Longer free texts scroll; the screen shows this many full-width characters.
constexpr int kTextCharsShown = 22;

bool AllDigits(const std::string& pattern) {
    return !pattern.empty() && std::all_of(pattern.begin(), pattern.end(), [](char c) { return c == '0'; });
}

QLineEdit* MakeLineEdit(const EntryField& field, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setFocusPolicy(Qt::StrongFocus);
    if (field.kind == K::Text) return edit;  // Japanese input; the screen reports byte overflow itself
    // Codes, dates and figures are typed in half-width characters only.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
    if (field.width > 0) edit->setMaxLength(field.width);
    if (IsFigure(field)) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return edit;
}

}  // namespace

bool IsTypedKind(EntryFieldKind kind) {
    switch (kind) {
        case K::DatePart:
        case K::Code:
        case K::Text:
        case K::Rate:
        case K::Number:
        case K::SettingCode:
        case K::Memo:
            return true;
        default:
            return false;
    }
}

bool IsFigure(const EntryField& field) {
    switch (field.kind) {
        case K::DatePart:
        case K::Rate:
        case K::Number:
        case K::SettingCode:
            return true;
        case K::Code:
            return AllDigits(field.pattern);
        default:
            return false;
    }
}

QWidget* MakeFieldWidget(const EntryField& field, QWidget* parent) {
    switch (field.kind) {
        case K::List: {
            auto* list = new QComboBox(parent);
            // The code beside it is the tab stop; a click still opens the list.
            list->setFocusPolicy(Qt::ClickFocus);
            return list;
        }
        case K::Check: {
            auto* box = new QCheckBox(Q(field.caption), parent);
            box->setFocusPolicy(Qt::ClickFocus);
            return box;
        }
        case K::Memo: {
            auto* memo = new QPlainTextEdit(parent);
            memo->setTabChangesFocus(true);
            memo->setFocusPolicy(Qt::StrongFocus);
            return memo;
        }
        case K::Sentinel: {
            // Takes the focus by Tab and shows nothing.
            auto* sentinel = new QPushButton(parent);
            sentinel->setFlat(true);
            sentinel->setFixedSize(1, 1);
            sentinel->setFocusPolicy(Qt::TabFocus);
            sentinel->setAutoDefault(false);
            sentinel->setStyleSheet("QPushButton { border: none; background: transparent; padding: 0; }");
            return sentinel;
        }
        case K::Display: {
            auto* display = new QLineEdit(parent);
            display->setReadOnly(true);
            display->setFocusPolicy(Qt::NoFocus);
            QPalette palette = display->palette();
            palette.setColor(QPalette::Base, palette.color(QPalette::Window));
            display->setPalette(palette);
            return display;
        }
        default:
            return MakeLineEdit(field, parent);
    }
}

int FieldWidth(const EntryField& field, const QFontMetrics& metrics) {
    const int wide = metrics.horizontalAdvance(QString::fromUtf8("漢"));
    switch (field.kind) {
        case K::DatePart:
        case K::Code:
        case K::Rate:
        case K::SettingCode:
            return metrics.horizontalAdvance(QString(std::max(field.width, 1), QChar('0'))) + kEditPadding;
        case K::Number:
            return metrics.horizontalAdvance(QString::fromLatin1(kWidestFigure)) + kEditPadding;
        case K::Text:
            return std::clamp(field.maxBytes / 2, 2, kTextCharsShown) * wide + kEditPadding;
        case K::Display:
            return kDisplayChars * wide + kEditPadding;
        default:
            return -1;
    }
}

}  // namespace velmora
