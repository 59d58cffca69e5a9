#include "quotation/quotation_date.h"

#include "data/data_access.h"
#include "quotation/closing_dates.h"
#include "quotation/document_scope.h"
#include "quotation/follow_up.h"

namespace velmora {

namespace {

void setDate(DocumentScope& scope, const std::string& date) {
    QuotationHeader& h = scope.quotation.header;
    h.営業見積日付 = date;
    SplitDate(date, h.営業見積日付年, h.営業見積日付月, h.営業見積日付日);
    scope.quotation.SummaryDate = SummaryDateOf(date, scope.context.company);
}

void proposeNumber(DocumentScope& scope, const std::string& baseDate) {
    QuotationHeader& h = scope.quotation.header;
    h.番号基準日付 = baseDate;
    h.営業見積No = scope.numbering.PeekNumber(kQuotationNumberId, baseDate, h.事業所コード);
}

}  // namespace

void StartNewQuotation(DocumentScope& scope, const std::string& date) {
    scope.quotation.ClearToNew();
    scope.quotation.header.事業所コード = scope.context.operatingOffice;
    setDate(scope, date);
    proposeNumber(scope, scope.numbering.BaseDate(kQuotationNumberId, date));
    scope.ReloadRates();
}

bool ChangeQuotationDate(DocumentScope& scope, const std::string& date) {
    Quotation& q = scope.quotation;
    QuotationHeader& h = q.header;
    std::string baseDate = scope.numbering.BaseDate(kQuotationNumberId, date);
    if (q.NewEntry) {
        setDate(scope, date);
        if (baseDate != h.番号基準日付) proposeNumber(scope, baseDate);
        return true;
    }
    const LoadedKey& loaded = q.loadedKey;
    if (baseDate == loaded.番号基準日付) {
        setDate(scope, date);
        h.番号基準日付 = loaded.番号基準日付;
        h.営業見積No = loaded.営業見積No;
        return true;
    }
    if (FollowUpStatus(scope.access, loaded.事業所コード, loaded.番号基準日付, loaded.営業見積No) == FollowUp::None) {
        setDate(scope, date);
        proposeNumber(scope, baseDate);
        return true;
    }
    setDate(scope, loaded.営業見積日付);
    h.番号基準日付 = loaded.番号基準日付;
    h.営業見積No = loaded.営業見積No;
    q.LoadNotice = kNoticeCannotMove;
    return false;
}

}  // namespace velmora
