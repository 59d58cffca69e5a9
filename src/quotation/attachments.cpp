#include "quotation/attachments.h"

#include <filesystem>
#include <memory>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "quotation/attachment_files.h"
#include "quotation/document_sql.h"

namespace velmora {

namespace {

constexpr const char* kSlipNumberId = "16210";  // 伝票番号ID: the quotation numbering
constexpr long long kLastSeqNo = 999;           // SEQNo has three digits

std::string Quoted(const std::string& text) { return "'" + QuoteSql(text) + "'"; }

std::string WithDetail(const char* message, const std::string& detail) {
    return detail.empty() ? message : std::string(message) + "\n" + detail;
}

}  // namespace

const std::vector<std::string>& AttachmentColumns() {
    static const std::vector<std::string> columns = {"書類名", "サイズ", "更新日付"};
    return columns;
}

std::vector<std::string> AttachmentCells(const AttachmentItem& item) {
    if (!item.stored) return {item.title, kStoredCopyMissing, ""};
    return {item.title, item.folder ? "フォルダ" : KilobyteText(item.bytes), item.modified};
}

QuotationAttachments::QuotationAttachments(DataAccess& access, std::string documentFolder, std::string userId)
    : m_access(access), m_folder(std::move(documentFolder)), m_userId(std::move(userId)) {
    while (m_folder.size() > 1 && (m_folder.back() == '/' || m_folder.back() == '\\')) m_folder.pop_back();
}

std::string QuotationAttachments::keyCondition(const AttachmentOwner& owner) const {
    return std::string(" WHERE 情報名 = '") + kAttachmentOwner + "'" + " AND 情報識別ID = " +
           Literal(owner.InformationId());
}

std::string QuotationAttachments::StoredPrefix(const AttachmentOwner& owner, const std::string& seqNo) {
    return std::string(kAttachmentOwner) + "_" + owner.InformationId() + "_" + seqNo + "_";
}

std::string QuotationAttachments::StoredPath(const AttachmentOwner& owner, const std::string& seqNo,
                                             const std::string& documentName) const {
    return m_folder + "/" + StoredPrefix(owner, seqNo) + LastPathPart(documentName);
}

std::vector<AttachmentItem> QuotationAttachments::List(const AttachmentOwner& owner) {
    std::vector<AttachmentItem> items;
    std::unique_ptr<Recordset> rs;
    if (!m_access.OpenDataRecordset(rs, "SELECT * FROM M付属書類" + keyCondition(owner) + " ORDER BY SEQNo"))
        return items;
    for (; !rs->eof(); rs->moveNext()) {
        AttachmentItem item;
        item.seqNo = rs->text("SEQNo");
        item.title = rs->text("タイトル");
        item.documentName = rs->text("書類名");
        // Without a document folder there is no copy to look for.
        if (!m_folder.empty()) {
            item.storedPath = StoredPath(owner, item.seqNo, item.documentName);
            const StoredEntry entry = InspectStored(item.storedPath);
            item.stored = entry.exists;
            item.folder = entry.folder;
            item.bytes = entry.bytes;
            item.modified = entry.modified;
        }
        items.push_back(std::move(item));
    }
    rs->close();
    return items;
}

std::string QuotationAttachments::nextSeqNo(const AttachmentOwner& owner, bool& failed) {
    std::unique_ptr<Recordset> rs;
    const QueryOutcome outcome =
        RunQuery(m_access, rs, "SELECT SEQNo FROM M付属書類" + keyCondition(owner) + " ORDER BY SEQNo DESC");
    failed = outcome == QueryOutcome::Failed;
    const long long last = outcome == QueryOutcome::Found ? ValInteger(rs->text("SEQNo")) : 0;
    if (rs) rs->close();
    if (failed || last >= kLastSeqNo) return {};
    return ThreeDigits(last + 1);
}

bool QuotationAttachments::Add(const AttachmentOwner& owner, const std::string& source, bool folder,
                               std::string& message, const CopyRunner& run) {
    message.clear();
    const std::string title = AttachmentTitle(source, folder);
    if (title.empty()) return false;
    if (m_folder.empty()) {
        message = kNoDocumentFolder;
        return false;
    }
    bool failed = false;
    std::string seqNo = nextSeqNo(owner, failed);
    // A number whose name is still taken in the document folder (a copy left
    // behind, or one being made by another user) is passed over: its files
    // would otherwise be taken for this attachment's and deleted with it.
    while (!seqNo.empty() && AnyStoredWithPrefix(m_folder, StoredPrefix(owner, seqNo))) {
        const long long next = ValInteger(seqNo) + 1;
        seqNo = next > kLastSeqNo ? std::string() : ThreeDigits(next);
    }
    if (seqNo.empty()) {
        message = failed ? kNotRecorded : kNoFreeNumber;
        return false;
    }
    const std::string target = StoredPath(owner, seqNo, source);
    if (CopiesIntoItself(source, m_folder, target)) {
        message = WithDetail(kCopiesIntoItself, source);
        return false;
    }
    CopyJob job(source, target);
    if (run)
        run(job);
    else
        job.Run();
    if (!job.succeeded()) {
        const std::string problem = job.problem();
        message = job.cancelled() ? std::string(kCopyCancelled)
                                  : WithDetail(kCopyFailed, target + (problem.empty() ? "" : "\n(" + problem + ")"));
        return false;
    }
    const std::string sql =
        std::string("INSERT INTO M付属書類 ") +
        "(情報名,情報識別ID,SEQNo,書類名,タイトル,伝票番号ID,伝票事業所コード,伝票番号基準日付,伝票No,伝票日付,"
        "対応先コード,得意先コード,納品先コード,仕入先コード,銀行コード,科目コード,社員コード,担当者コード,部門コード,"
        "セクションコード,商品コード,メーカコード,対象金額,ユーザID,登録日付)" +
        " VALUES (" + Quoted(kAttachmentOwner) + "," + Quoted(owner.InformationId()) + "," + Quoted(seqNo) + "," +
        Quoted(source) + "," + Quoted(title) + "," + Quoted(kSlipNumberId) + "," + Quoted(owner.office) + "," +
        Quoted(owner.baseDate) + "," + Quoted(owner.number) + "," + Quoted(owner.date) + ",''," +
        Quoted(owner.customer) + "," + Quoted(owner.delivery) + ",'','','',''," + Quoted(owner.staff) + "," +
        Quoted(owner.department) + "," + Quoted(owner.section) + ",'',''," + "0," + Quoted(m_userId) + "," +
        Quoted(m_access.NowText()) + ")";
    if (m_access.ExecuteData(sql)) return true;
    std::error_code ignored;
    std::filesystem::remove_all(target, ignored);
    message = kNotRecorded;
    return false;
}

bool QuotationAttachments::Remove(const AttachmentOwner& owner, const std::string& seqNo, std::string& message) {
    message.clear();
    if (!m_access.ExecuteData("DELETE FROM M付属書類" + keyCondition(owner) + " AND SEQNo = " + Literal(seqNo))) {
        message = kNotDeleted;
        return false;
    }
    std::string failed;
    if (!m_folder.empty() && !RemoveStoredWithPrefix(m_folder, StoredPrefix(owner, seqNo), failed))
        message = WithDetail(kCopyNotRemoved, failed);
    return true;
}

std::string QuotationAttachments::CopyToOpen(const AttachmentOwner& owner, const std::string& seqNo,
                                             std::string& message) {
    message.clear();
    std::unique_ptr<Recordset> rs;
    if (!m_access.OpenDataRecordset(rs, std::string("SELECT ") + " 書類名" + " FROM M付属書類" + keyCondition(owner) +
                                            " AND SEQNo = " + Literal(seqNo))) {
        message = kCopyMissing;
        return {};
    }
    const std::string documentName = rs->text("書類名");
    rs->close();
    if (m_folder.empty()) {
        message = kNoDocumentFolder;
        return {};
    }
    const std::string path = StoredPath(owner, seqNo, documentName);
    if (!InspectStored(path).exists) {
        message = WithDetail(kCopyMissing, path);
        return {};
    }
    return path;
}

}  // namespace velmora
