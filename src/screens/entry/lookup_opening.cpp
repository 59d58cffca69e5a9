#include "screens/entry/lookup_opening.h"

#include "screens/entry/entry_screen.h"
#include "screens/lookup/lookup_windows.h"

namespace velmora {

std::string LookupControlName(const Control& control) {
    return control.row < 0 ? control.name : control.name + "_" + std::to_string(control.row);
}

Control ControlFromLookupName(const std::string& name) {
    const auto at = name.rfind('_');
    if (at != std::string::npos && at + 2 == name.size() && name[at + 1] >= '0' && name[at + 1] <= '9')
        return {name.substr(0, at), name[at + 1] - '0'};
    return {name, -1};
}

void OpenLookupWindow(EntryScreen& screen, LookupWindowId id, const std::string& condition, const Control& target,
                      const Control& nextFocus) {
    if (!screen.lookups) return;
    screen.lookups->open(id, screen.host, condition, LookupControlName(target), LookupControlName(nextFocus));
}

}  // namespace velmora
