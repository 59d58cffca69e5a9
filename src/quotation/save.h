#pragma once

#include "quotation/document_write.h"

namespace velmora {

struct DocumentScope;
class ProgramSession;

// Stores the one quotation: a new one under a number taken now (or its typed
// number, which must not exist yet); a stored one by red-copying and deleting
// its rows and inserting the new state; a stored one whose date moved it into
// another numbering period under a new number, new rows first, then the old
// ones removed and its activities pointed at the new key. All or nothing:
// see WriteDocument. A rolled-back save gives its number back to the counter.
// The largest unique line number (営業見積固有行No, three digits).
inline constexpr int kMaxUniqueLineNo = 999;
inline constexpr const char* kUniqueLineNumbersUsedUp =
    "明細の固有行Noが999に達したため登録できません。";

// Taxes worked out from no rates are 0: nothing is stored until the rates
// can be read, and taxes worked out again once they come are shown first.
inline constexpr const char* kNoTaxRates =
    "消費税率を読み込めないため登録できませんでした。データベースを確認してから再度登録してください。";
inline constexpr const char* kTaxesWorkedOutAgain =
    "消費税率を読み込み、消費税を計算し直しました。金額を確認してから再度登録してください。";

class QuotationSaver {
public:
    QuotationSaver(DocumentScope& scope, ProgramSession* session) : m_scope(scope), m_session(session) {}

    SaveOutcome Save();

private:
    bool writeRows();
    bool allocateNumber();

    DocumentScope& m_scope;
    ProgramSession* m_session;
};

}  // namespace velmora
