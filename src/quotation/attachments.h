#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velmora {

class CopyJob;
class DataAccess;

// The suite keeps the attachments of all its programs in M付属書類 and the
// attached files in one shared document folder; this program files its own
// under its program ID, one set per stored quotation.
inline constexpr const char* kAttachmentOwner = "Velmora";  // 情報名

// The stored quotation the attachments belong to, with the header values
// each new row records.
struct AttachmentOwner {
    std::string office;    // 事業所コード
    std::string baseDate;  // 番号基準日付
    std::string number;    // 営業見積No
    std::string date;      // 営業見積日付
    std::string customer;  // 得意先コード
    std::string delivery;  // 納品先コード
    std::string staff;     // 担当者コード
    std::string department;
    std::string section;
    // 情報識別ID: office + base date + number, 19 characters.
    std::string InformationId() const { return office + baseDate + number; }
};

// One attachment as the list shows it.
struct AttachmentItem {
    std::string seqNo;
    std::string title;         // タイトル, the list text
    std::string documentName;  // 書類名, the path as chosen
    std::string storedPath;    // its copy in the document folder
    bool stored = false;       // the copy is there
    bool folder = false;
    std::uintmax_t bytes = 0;
    std::string modified;  // "yyyy/mm/dd"
};

// The list's columns and an item's cells in their order: the title, the size
// ("1,500KB", "フォルダ", or kStoredCopyMissing when the copy is gone) and
// the modification date.
const std::vector<std::string>& AttachmentColumns();
std::vector<std::string> AttachmentCells(const AttachmentItem& item);
inline constexpr const char* kStoredCopyMissing = "ファイルなし";

// Messages of the attachment commands.
inline constexpr const char* kNoDocumentFolder = "ドキュメントフォルダが設定されていません。";
inline constexpr const char* kCopyFailed = "書類をドキュメントフォルダにコピーできませんでした。";
inline constexpr const char* kNotRecorded = "付属書類を登録できませんでした。";
inline constexpr const char* kNoFreeNumber = "付属書類はこれ以上登録できません。";
inline constexpr const char* kNotDeleted = "付属書類を削除できませんでした。";
inline constexpr const char* kCopyNotRemoved = "付属書類から削除しましたが、ドキュメントフォルダの書類を削除できませんでした。";
inline constexpr const char* kCopyMissing = "ドキュメントフォルダに書類がありません。";
inline constexpr const char* kCannotOpen = "書類を開けませんでした。";
inline constexpr const char* kCopiesIntoItself =
    "ドキュメントフォルダを含むフォルダは付属書類に追加できません。別のフォルダを選択してください。";
inline constexpr const char* kCopyCancelled = "付属書類の追加を取り消しました。";

// Runs a copy into the document folder to its end (finished, failed or
// cancelled); the screen runs it without holding up the window.
using CopyRunner = std::function<void(CopyJob&)>;

// The attachment rows and their copies for one document folder
// (Mユーザ.ドキュメントフォルダ).
class QuotationAttachments {
public:
    // userId is what the rows record as ユーザID.
    QuotationAttachments(DataAccess& access, std::string documentFolder, std::string userId);

    // The quotation's attachments in SEQNo order with the state of each copy;
    // none when the read failed (the data layer has logged it).
    std::vector<AttachmentItem> List(const AttachmentOwner& owner);

    // Attaches a file or a folder. The copy is made first, by `run` (at once
    // when none is given), and the row is only written once the copy is whole;
    // a cancelled or failed copy leaves nothing behind and writes no row, and
    // a row that cannot be written takes its copy away again. A folder that
    // holds the document folder is refused before anything is copied. On
    // failure `message` says what went wrong (also after a cancel).
    bool Add(const AttachmentOwner& owner, const std::string& source, bool folder, std::string& message,
             const CopyRunner& run = {});
    // Removes the row, then its copies (a file, or a folder with its
    // contents). A copy that stays behind is reported in `message`, the row
    // being gone by then: true with a message.
    bool Remove(const AttachmentOwner& owner, const std::string& seqNo, std::string& message);
    // The copy to open for the attachment, read again from its row; empty with
    // `message` when the row or the copy is gone.
    std::string CopyToOpen(const AttachmentOwner& owner, const std::string& seqNo, std::string& message);

    // "Velmora_" + 情報識別ID + "_" + SEQNo + "_": the start of every name
    // stored for the attachment.
    static std::string StoredPrefix(const AttachmentOwner& owner, const std::string& seqNo);
    // The copy of the attachment whose 書類名 is documentName.
    std::string StoredPath(const AttachmentOwner& owner, const std::string& seqNo,
                           const std::string& documentName) const;

private:
    // The next SEQNo after the highest one stored, "001" for the first;
    // empty when the read failed or "999" is taken.
    std::string nextSeqNo(const AttachmentOwner& owner, bool& failed);
    std::string keyCondition(const AttachmentOwner& owner) const;

    DataAccess& m_access;
    std::string m_folder;
    std::string m_userId;
};

}  // namespace velmora
