#pragma once

#include <QDialog>
#include <QString>

#include <map>
#include <string>

#include "screens/lookup/lookup_view.h"
#include "screens/lookup/qt/window_focus.h"

class QButtonGroup;
class QGridLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QCheckBox;
class QSpinBox;
class QTreeWidget;

namespace velmora {

class LookupPresenter;
class LoneCtrlDetector;
struct FieldDescription;
struct WindowDescription;

// The one modal dialog of every lookup window, laid out from the window's
// description. It forwards what the user does to the presenter and shows
// what the presenter tells it; controls carry the system's control names.
class LookupDialog : public QDialog, public LookupView {
    Q_OBJECT
public:
    LookupDialog(const WindowDescription& window, LookupPresenter& presenter, QWidget* parent = nullptr);

    void setFieldText(const std::string& field, const std::string& text) override;
    void setButtonEnabled(const std::string& button, bool enabled) override;
    void setButtonCaption(const std::string& button, const std::string& caption) override;
    void setChecked(const std::string& box, bool checked) override;
    void setFilterNames(const std::string& filter, const std::vector<std::string>& names) override;
    void setFilterValue(const std::string& filter, int value) override;
    void setPeriod(int option) override;
    void showRows(const std::vector<LookupRow>& rows) override;
    void setSortIndicator(int column, bool ascending) override;
    void setNotice(const std::string& text) override;
    void setFocusTo(const std::string& control) override;
    void setWindowEnabled(bool enabled) override;
    void showModal() override;
    void closeWindow() override;

    QTreeWidget* list() const { return m_list; }

public Q_SLOTS:
    // Escape and the window's close box act as "戻る".
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    FocusKeeper m_focusKeeper;
    QLineEdit* addField(const FieldDescription& field, QGridLayout* grid, int row);
    QPushButton* addButton(const std::string& name, const std::string& caption);
    void chooseCurrentRow();
    template <class T>
    T* control(const std::string& name) const;

    const WindowDescription& m_window;
    LookupPresenter& m_presenter;
    std::map<QObject*, std::string> m_fieldOf;  // input field → field name
    QTreeWidget* m_list = nullptr;
    QLabel* m_notice = nullptr;
    QButtonGroup* m_period = nullptr;
    // Ctrl pressed and released alone opens a field's lookup; Ctrl+C and
    // the other chords stay the field's.
    LoneCtrlDetector* m_loneCtrl = nullptr;
    bool m_updating = false;
};

inline QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace velmora
