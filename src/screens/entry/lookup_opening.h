#pragma once

#include <string>

#include "screens/entry/entry_view.h"
#include "screens/lookup/window_description.h"

namespace velmora {

struct EntryScreen;

// The lookup windows name the entry screen's controls by one text: a row
// control as its name, "_" and its row ("商品コード_3").
std::string LookupControlName(const Control& control);
Control ControlFromLookupName(const std::string& name);

// Opens a lookup window from the entry screen: the screen disables itself,
// the condition, target and next focus are handed over, and the window is
// shown; its choice comes back through the screen's LookupHost.
void OpenLookupWindow(EntryScreen& screen, LookupWindowId id, const std::string& condition, const Control& target,
                      const Control& nextFocus);

}  // namespace velmora
