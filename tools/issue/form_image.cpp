#include "issue/form_image.h"

#include "data/sql_text.h"
#include "quotation/attachments.h"

namespace velmora {

namespace {

std::string fileNamePart(const std::string& text) {
    std::string part = TrimBlanks(text);
    for (char& c : part)
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
            c == '|' || c == ' ')
            c = '_';
    return part;
}

}  // namespace

std::string FormImageFolder(const Letterhead& letterhead) {
    return letterhead.imageFolder.empty() ? letterhead.documentFolder : letterhead.imageFolder;
}

std::string FormImageFileName(const QuotationHeader& header, bool purchaseView) {
    return std::string(purchaseView ? "見積書仕入情報_" : "見積書_") + fileNamePart(header.事業所コード) +
           "_" + fileNamePart(header.番号基準日付) + "_" + fileNamePart(header.営業見積No) + ".pdf";
}

bool FileFormImage(DataAccess& access, const Letterhead& letterhead, const QuotationHeader& header,
                   const std::string& file, const std::string& userId, std::string& message) {
    // Filed under the stored quotation's key, as the entry screen lists it.
    const AttachmentOwner owner{header.事業所コード, header.番号基準日付, header.営業見積No,
                                header.営業見積日付, header.得意先コード, header.納品先コード,
                                header.担当者コード, header.部門コード,   header.セクションコード};
    return QuotationAttachments(access, letterhead.documentFolder, userId).Add(owner, file, false, message);
}

}  // namespace velmora
