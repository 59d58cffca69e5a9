// The start-up benchmark's baseline: the smallest Qt Widgets program, one
// label shown, ending right after its first paint.
#include <QApplication>
#include <QEvent>
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
    QLabel label("Hello, world");
    EndAfterPaint end;
    label.installEventFilter(&end);
    label.show();
    return app.exec();
}
