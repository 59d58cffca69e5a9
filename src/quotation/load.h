#pragma once

#include <string>
#include <string_view>

#include "data/connection.h"

namespace velmora {

struct DocumentScope;
struct QuotationHeader;
struct QuotationLine;
class Recordset;

// Texts a load leaves in LoadNotice for the notice bar.
inline constexpr const char* kNoticeNewNumber = "新規情報です。";
inline constexpr const char* kNoticeNotFound = "該当情報がありません。";
// A stored quotation keeps its number: its activities, attachments and later
// documents refer to it.
inline constexpr const char* kNoticeNumberKept = "登録済みの見積の番号は変更できません。";

// Filling the one quotation from the database: opening a stored quotation,
// copying another one into it, starting it from a sales inquiry, and taking
// single stored lines into it.
class QuotationLoader {
public:
    explicit QuotationLoader(DocumentScope& scope) : m_scope(scope) {}

    // Writes the view-log row, then reads header and lines; totals are
    // recomputed. False when there is no such quotation, or when it could not
    // be read whole (fault() says why); the model is then untouched. A stored
    // header without lines leaves NewEntry set.
    bool OpenStored(const std::string& office, const std::string& baseDate, const std::string& number);

    // The operations on a number typed into the screen. pickedKey is the key
    // the quotation lookup has just handed over ("C" + office + base date +
    // number); when it is used it is cleared. True when the screen must redraw.
    bool OpenByTypedNumber(const std::string& typed, std::string& pickedKey);
    bool CopyReference(const std::string& typed, std::string& pickedKey);
    bool StartFromInquiry(const std::string& typed, std::string& pickedKey);
    // Why the last of these three changed nothing when the database did not
    // answer (None when it answered): the screen then says so and stays.
    DbFault fault() const { return m_fault; }

    // Line paste: a stored line into a slot as a new line, priced again in full.
    bool ReadStoredLine(const std::string& office, const std::string& baseDate, const std::string& number,
                        const std::string& uniqueLineNo, int slot);
    // The item-name history: a stored line's item, prices and tax settings
    // into line `line`; its quantities stay and its figures are recomputed.
    bool TakeStoredItem(const std::string& office, const std::string& baseDate, const std::string& number,
                        const std::string& uniqueLineNo, int line);

private:
    // A number typed into 参照営業見積No or 参照営業引合No: the same one does
    // nothing, an empty one clears it; otherwise the office and base date to
    // read it under: the lookup's pick, else the reference's own, else the
    // quotation's office and the base date its date gives in the scheme.
    enum class Reference { Unchanged, Cleared, Read };
    Reference referenceKey(const std::string& typed, std::string& number, const std::string& refOffice,
                           const std::string& refBase, std::string_view numberId, std::string& pickedKey,
                           std::string& office, std::string& baseDate);
    bool readLines(const std::string& office, const std::string& baseDate, const std::string& number, bool asNew);
    void repriceCopiedLine(QuotationLine& line);
    bool failed();

    DocumentScope& m_scope;
    DbFault m_fault = DbFault::None;
};

// "SELECT TOP 1 T営業見積.*, ..." with the joined staff, department and section names.
std::string HeaderQuery(const std::string& office, const std::string& baseDate, const std::string& number);
// The header read of an inquiry a quotation starts from.
std::string InquiryHeaderQuery(const std::string& office, const std::string& baseDate, const std::string& number);
// Every line of a stored quotation in line order.
std::string LinesQuery(const std::string& office, const std::string& baseDate, const std::string& number);
// Reads the current row into a header that starts from the new-quotation
// values: every described column but the recomputed totals, the joined names,
// a stored 得意先消費税算出区分 of 3 as 2, an empty tax date as the quotation date.
void ReadStoredHeader(const Recordset& row, QuotationHeader& header);

}  // namespace velmora
