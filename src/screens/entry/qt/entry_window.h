#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>

#include "screens/entry/entry_presenter.h"

namespace velmora {

// frmVelmora: the quotation entry window.
class EntryWindow : public QMainWindow, public EntryView {
    Q_OBJECT
public:
    explicit EntryWindow(EntryPresenter& presenter, QWidget* parent = nullptr);

    void SetWindowCaption(const std::string& caption) override;
    void SetTitlePanel(const std::string& caption) override;
    void SetNotice(const std::string& text) override;
    bool AskYesNo(const std::string& text, bool defaultNo) override;
    void ShowMessage(const std::string& text) override;

public slots:
    // Ends the run without questions (termination signal, logout).
    void endSession();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    EntryPresenter& m_presenter;
    QLabel* m_title = nullptr;
    QLabel* m_notice = nullptr;
    QPushButton* m_exit = nullptr;
    bool m_ending = false;
};

}  // namespace velmora
