#pragma once

#include <QWidget>

#include <map>
#include <string>

#include "screens/lookup/lookup_context.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace velmora {

class LookupWindows;

// Stands in for the entry screen: a window list, the condition to pass, the
// fields the lookups read (担当者コード, 得意先コード), the target and the
// next-focus field, and what came back.
class TryWindow : public QWidget, public LookupHost {
public:
    explicit TryWindow(LookupWindows& windows);
    void openWindow(const std::string& title);

    void setHostEnabled(bool enabled) override;
    void setControlText(const std::string& control, const std::string& text) override;
    void focusControl(const std::string& control) override;
    std::optional<std::string> controlText(const std::string& control) const override;

private:
    QLineEdit* addField(const std::string& name, const std::string& caption);
    void openChosen();

    LookupWindows& m_windows;
    QComboBox* m_choice = nullptr;
    QLabel* m_returned = nullptr;
    std::map<std::string, QLineEdit*> m_fields;
};

}  // namespace velmora
