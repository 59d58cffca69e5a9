// The attachment copy of the entry window: the copy runs on a thread of its
// own while the window keeps painting; one that takes more than a moment
// shows a modal progress dialog whose cancel stops it.
#include <chrono>
#include <thread>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include "quotation/attachment_files.h"
#include "screens/entry/qt/entry_window.h"

namespace velmora {

namespace {

constexpr int kShowAfterMs = 300;  // a copy done sooner shows nothing
constexpr int kPollMs = 30;
constexpr int kScale = 1000;  // the bar's range, whatever the byte count

QString sizeText(std::uintmax_t bytes) {
    if (bytes < 1024 * 1024) return QString::number((bytes + 1023) / 1024) + " KB";
    return QString::number(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 1) + " MB";
}

QString progressText(const CopyJob& job) {
    QString text = QString::fromUtf8("付属書類をコピーしています…");
    if (job.filesTotal() == 0) return text;
    return text + "\n" +
           QString::fromUtf8("%1 / %2 ファイル　%3 / %4")
               .arg(job.filesDone())
               .arg(job.filesTotal())
               .arg(sizeText(job.bytesDone()), sizeText(job.bytesTotal()));
}

int progressValue(const CopyJob& job) {
    const std::uintmax_t total = job.bytesTotal();
    if (total > 0) return static_cast<int>(job.bytesDone() * kScale / total);
    const std::uintmax_t files = job.filesTotal();
    return files > 0 ? static_cast<int>(job.filesDone() * kScale / files) : 0;
}

}  // namespace

void EntryWindow::RunCopy(CopyJob& job) {
    Busy busy(*this);
    std::thread worker([&job] { job.Run(); });

    QProgressDialog dialog(progressText(job), QString::fromUtf8("キャンセル"), 0, kScale, this);
    dialog.setObjectName("msg付属書類コピー");
    dialog.setWindowTitle("Velmora");
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumWidth(360);
    // Shown by hand once the copy has taken long enough, not by the dialog's
    // own timer.
    dialog.reset();
    bool cancelling = false;
    // The cancel button, Escape, closing it, and the end of the session.
    const auto cancel = [&] {
        if (cancelling) return;
        cancelling = true;
        job.Cancel();
        dialog.setLabelText(QString::fromUtf8("コピーを取り消しています…"));
        if (QPushButton* button = dialog.findChild<QPushButton*>()) button->setEnabled(false);
        // The dialog stays until the copy is taken away again.
        dialog.show();
    };
    QObject::connect(&dialog, &QProgressDialog::canceled, &dialog, cancel);
    QObject::connect(&dialog, &QDialog::rejected, &dialog, cancel);

    QElapsedTimer elapsed;
    elapsed.start();
    bool shown = false;
    while (!job.finished()) {
        QEventLoop loop;
        QTimer::singleShot(kPollMs, &loop, &QEventLoop::quit);
        // Until the dialog is up, keys and clicks wait; then the dialog takes them.
        loop.exec(shown ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        if (!shown && !job.finished() && elapsed.elapsed() >= kShowAfterMs) {
            dialog.show();
            shown = true;
        }
        if (shown && !cancelling) {
            dialog.setLabelText(progressText(job));
            dialog.setValue(progressValue(job));
        }
    }
    worker.join();
    dialog.hide();
    if (shown && !isActiveWindow()) activateWindow();
}

}  // namespace velmora
