#pragma once

#include "quotation/document_write.h"

namespace velmora {

struct DocumentScope;
class ProgramSession;

inline constexpr const char* kCannotDelete = "削除出来ません。";
inline constexpr const char* kDeleteQuestion = "削除しますか?";
inline constexpr const char* kActivityRegistered = "日程情報に登録済です。";

// Deletes the stored quotation (LoadedKey) after the screen's questions: a
// quotation billed, delivered, ordered or ordered by the customer is refused
// with its text; otherwise the user is asked (with the activity prefix when
// only activities name it). The red history rows, the deletes, the notice and
// the unlinking of its activities are one transaction (see WriteDocument);
// the activities themselves stay.
class QuotationDeleter {
public:
    QuotationDeleter(DocumentScope& scope, ProgramSession* session) : m_scope(scope), m_session(session) {}

    enum class Result {
        Refused,    // taken further by the other programs: nothing asked, nothing deleted
        Cancelled,  // the user said No
        Deleted,
        Failed,  // SaveStatus tells why (6: the lines were already gone); nothing changed
    };
    Result Delete(SaveOutcome* outcome = nullptr);

private:
    DocumentScope& m_scope;
    ProgramSession* m_session;
};

}  // namespace velmora
