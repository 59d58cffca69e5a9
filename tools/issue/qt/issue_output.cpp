#include "issue/qt/issue_output.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "issue/form_image.h"
#include "issue/issue_document.h"
#include "issue/issue_run.h"
#include "issue/qt/font_readings.h"
#include "issue/qt/sheet_painter.h"
#include "platform/files.h"

namespace velmora {

namespace {

namespace fs = std::filesystem;

QString q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString documentName(const std::vector<IssueDocument>& documents) {
    QString name = QStringLiteral("見積書");
    if (documents.size() == 1) name += QStringLiteral(" ") + q(documents.front().quotation.header.営業見積No);
    return name;
}

// A4 portrait, the whole sheet addressable: the form keeps its own margins.
void setUpPrinter(QPrinter& printer, const std::vector<IssueDocument>& documents) {
    printer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer.setFullPage(true);
    printer.setDocName(documentName(documents));
    printer.setCreator(QStringLiteral("Velmora"));
}

}  // namespace

bool PaintDocuments(QPagedPaintDevice& device, std::span<const IssueDocument> documents,
                    std::string& problem) {
    QPainter painter;
    if (!painter.begin(&device)) {
        problem = "出力先を開けませんでした。";
        return false;
    }
    painter.setRenderHint(QPainter::TextAntialiasing);
    SheetPainter sheets(painter, device);
    bool first = true;
    for (const IssueDocument& document : documents) {
        if (!sheets.paint(document, !first)) {
            problem = "ページを出力できませんでした。";
            painter.end();
            return false;
        }
        first = false;
    }
    if (!painter.end()) {
        problem = "出力を完了できませんでした。";
        return false;
    }
    return true;
}

bool WritePdf(const std::string& path, const IssueDocument& document, std::string& problem) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setResolution(600);
        writer.setTitle(QStringLiteral("見積書 ") + q(document.quotation.header.営業見積No));
        writer.setCreator(QStringLiteral("Velmora"));
        if (!PaintDocuments(writer, std::span<const IssueDocument>(&document, 1), problem)) return false;
    }
    std::string pdf(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
    ApplyReadings(pdf, FormFontReadings());
    std::ofstream out(fs::path(path), std::ios::binary | std::ios::trunc);
    out.write(pdf.data(), static_cast<std::streamsize>(pdf.size()));
    out.close();
    if (!out) {
        problem = "帳票イメージを書き込めません: " + path;
        return false;
    }
    return true;
}

bool PrintDocuments(const std::vector<IssueDocument>& documents, std::string& problem) {
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull()) {
        problem = "既定のプリンタが設定されていないため印刷できません。";
        return false;
    }
    QPrinter printer(target, QPrinter::HighResolution);
    setUpPrinter(printer, documents);
    return PaintDocuments(printer, documents, problem);
}

bool PreviewDocuments(const std::vector<IssueDocument>& documents, std::string& problem) {
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, documents);
    QPrintPreviewDialog dialog(&printer);
    dialog.setWindowTitle(QStringLiteral("Velmora - ") + documentName(documents));
    std::string failure;
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&](QPrinter* target) { PaintDocuments(*target, documents, failure); });
    dialog.exec();
    problem = failure;
    return failure.empty();
}

bool IssueFormImages(DataAccess& access, const IssueJob& job, std::vector<std::string>& files,
                     std::string& problem) {
    const std::string folder = FormImageFolder(job.letterhead);
    if (!CreateFolders(folder)) {
        problem = "帳票イメージの出力先フォルダを作成できません: " + folder;
        return false;
    }
    for (const IssueDocument& document : job.documents) {
        const QuotationHeader& header = document.quotation.header;
        const std::string path = folder + "/" + FormImageFileName(header, document.purchaseView);
        // Written beside its final name and renamed when complete, so that a
        // failed run never leaves half a file under the quotation's name.
        const std::string partial = path + ".part";
        std::error_code ec;
        if (!WritePdf(partial, document, problem)) {
            fs::remove(partial, ec);
            return false;
        }
        fs::rename(partial, path, ec);
        if (ec) {
            fs::remove(partial, ec);
            problem = "帳票イメージを保存できません: " + path;
            return false;
        }
        if (!FileFormImage(access, job.letterhead, header, path, job.userId, problem)) {
            fs::remove(path, ec);
            return false;
        }
        files.push_back(path);
    }
    return true;
}

}  // namespace velmora
