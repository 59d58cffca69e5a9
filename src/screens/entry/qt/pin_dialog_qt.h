#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/pin_dialog.h"

namespace velmora {

// msg暗証番号確認: the modal sign-in dialog.
class PinDialogQt : public QDialog, public PinDialogView {
    Q_OBJECT
public:
    explicit PinDialogQt(PinDialog& dialog, QWidget* parent = nullptr);

    void SetCaption(const std::string& caption) override;
    void SetCode(const std::string& code) override;
    void SetName(const std::string& name) override;
    void SetPin(const std::string& pin) override;
    void SetCodeEditable(bool editable) override;
    void FocusCode() override;
    void FocusPin() override;
    void ShowMessage(const std::string& text) override;
    void Close() override;

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PinDialog& m_dialog;
    QLineEdit* m_code;
    QLineEdit* m_name;
    QLineEdit* m_pin;
    QLabel* m_codeLabel;
    QLabel* m_nameLabel;
    QLabel* m_pinLabel;
    bool m_closing = false;
};

}  // namespace velmora
