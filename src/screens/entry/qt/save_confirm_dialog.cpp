#include "screens/entry/qt/save_confirm_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "screens/entry/entry_view.h"
#include "screens/lookup/qt/lookup_dialog.h"

namespace velmora {

SaveConfirmDialog::SaveConfirmDialog(const std::string& question, bool loaded, const std::string& warning,
                                     QWidget* parent)
    : QDialog(parent) {
    setObjectName("msg印刷確認");
    setWindowTitle("Velmora");
    setModal(true);
    // QDialog's own Rejected is 0, which here means "store and print":
    // anything but a button must leave the cancel result.
    setResult(kConfirmCancel);

    auto* layout = new QVBoxLayout(this);
    auto* message = new QLabel(Q(question), this);
    message->setObjectName("lab_msg");
    QFont font = message->font();
    font.setPointSizeF(font.pointSizeF() * 1.2);
    font.setBold(true);
    message->setFont(font);
    if (loaded) {
        QPalette palette = message->palette();
        palette.setColor(QPalette::WindowText, QColor(192, 0, 0));
        message->setPalette(palette);
    }
    layout->addWidget(message);

    auto* notice = new QLabel(Q(warning), this);
    notice->setObjectName("lab_inpmsg");
    layout->addWidget(notice);
    layout->addSpacing(8);

    auto* buttons = new QHBoxLayout();
    QPushButton* first = nullptr;
    QPushButton* previous = nullptr;
    const struct {
        const char* name;
        const char* caption;
        int result;
    } choices[] = {
        {"btn_登録", "登録のみ", kConfirmStoreOnly},
        {"btn_いいえ", "いいえ", kConfirmCancel},
        {"btn_登録印刷", "登録と印刷", kConfirmStoreAndPrint},
    };
    for (const auto& choice : choices) {
        auto* button = new QPushButton(QString::fromUtf8(choice.caption), this);
        button->setObjectName(QString::fromUtf8(choice.name));
        button->setFocusPolicy(Qt::StrongFocus);
        connect(button, &QPushButton::clicked, this, [this, result = choice.result] { done(result); });
        buttons->addWidget(button);
        if (previous) setTabOrder(previous, button);
        previous = button;
        if (!first) first = button;
    }
    layout->addLayout(buttons);
    first->setDefault(true);
    first->setFocus(Qt::OtherFocusReason);
}

void SaveConfirmDialog::reject() {
    done(kConfirmCancel);
}

int SaveConfirmDialog::Ask(QWidget* parent, const std::string& question, bool loaded,
                           const std::string& warning) {
    SaveConfirmDialog dialog(question, loaded, warning, parent);
    return dialog.exec();
}

}  // namespace velmora
