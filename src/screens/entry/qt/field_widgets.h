#pragma once

#include <QFontMetrics>
#include <QWidget>

#include "screens/entry/entry_fields.h"

namespace velmora {

// The widgets of the entry window's fields, made from the field tables so
// that a field's kind, width and length are stated once.

// Kinds the user types into; they take the focus by Tab unless told otherwise.
bool IsTypedKind(EntryFieldKind kind);
// Kinds shown as digits: right-aligned, typed without the input method.
bool IsFigure(const EntryField& field);

// The input widget of a field: a line edit, drop-down, check box, memo or
// an invisible sentinel button, set up for its kind.
QWidget* MakeFieldWidget(const EntryField& field, QWidget* parent);
// The width in pixels that shows a field's longest content.
int FieldWidth(const EntryField& field, const QFontMetrics& metrics);

}  // namespace velmora
