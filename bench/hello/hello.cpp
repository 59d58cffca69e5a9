// The start-up benchmark's baselines: the smallest Qt Widgets program, one
// label shown, ending right after its first paint. With
// `--japanese WIDTH HEIGHT` the label reads Japanese in the font the entry
// window uses and fills a window of that size: what any Japanese window of
// that size costs before it shows a single field.
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QTimer>

namespace {

class EndAfterPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool japanese = argc == 4 && QString(argv[1]) == "--japanese";
    QLabel label("Hello, world");
    if (japanese) {
        const QString family = QString::fromUtf8("Noto Sans CJK JP");
        if (QFontDatabase::families().contains(family)) {
            QFont font(family);
            font.setPointSizeF(QApplication::font().pointSizeF());
            QApplication::setFont(font);
            label.setFont(font);
        }
        label.setText(QString::fromUtf8("営業見積入力　見積日付　得意先　件名　納期　合計"));
        label.resize(QString(argv[2]).toInt(), QString(argv[3]).toInt());
    }
    EndAfterPaint end;
    label.installEventFilter(&end);
    label.show();
    return app.exec();
}
