#pragma once

#include <string>

#include <QDialog>

namespace velmora {

// msg印刷確認: asked before a quotation is stored. Its result is
// kConfirmStoreAndPrint, kConfirmStoreOnly or kConfirmCancel; Escape and the
// window's close box cancel.
class SaveConfirmDialog : public QDialog {
    Q_OBJECT
public:
    // loaded: the quotation is stored already, so the question is red.
    SaveConfirmDialog(const std::string& question, bool loaded, const std::string& warning,
                      QWidget* parent = nullptr);

    static int Ask(QWidget* parent, const std::string& question, bool loaded, const std::string& warning);

public Q_SLOTS:
    void reject() override;
};

}  // namespace velmora
