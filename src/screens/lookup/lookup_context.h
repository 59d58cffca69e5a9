#pragma once

#include <optional>
#include <string>

namespace velmora {

// A window that opens lookup windows and receives their choice: the entry
// screen, or a lookup window opening a nested one. Controls are named by the
// system's control names.
class LookupHost {
public:
    virtual ~LookupHost() = default;
    virtual void setHostEnabled(bool enabled) = 0;
    virtual void setControlText(const std::string& control, const std::string& text) = 0;
    // Moving the focus away from a field runs that field's leave handling.
    virtual void focusControl(const std::string& control) = 0;
    // The text of a field of this window; nothing when it has no such field.
    virtual std::optional<std::string> controlText(const std::string& control) const = 0;
    // The entry screen replaces a control that cannot take the focus by the
    // nearest focusable one before it (ResolveNextFocus); a lookup window
    // leaves the name as it is.
    virtual void resolveNextFocus(std::string& control) { (void)control; }
};

// A control of a host window.
struct ControlRef {
    LookupHost* host = nullptr;
    std::string name;
    bool empty() const { return host == nullptr; }
    friend bool operator==(const ControlRef&, const ControlRef&) = default;
};

// The one program-wide hand-over between an opener and the lookup window it
// opens; exactly one lookup window is active, apart from one level of nesting.
struct LookupContext {
    // SQL condition from the opener, without a leading WHERE or AND; after a
    // choice in a document or header-text window, the chosen row's key.
    std::string LookupCondition;
    ControlRef LookupTarget;     // receives the chosen text
    ControlRef LookupNextFocus;  // takes the focus after the target
    LookupHost* LookupCaller = nullptr;  // the lookup window that opened the active one
    bool LookupNested = false;
    ControlRef LookupFocusField;  // the lookup field that last received the focus
    // The window enabled again when a window that is not nested closes.
    LookupHost* entryScreen = nullptr;
};

}  // namespace velmora
