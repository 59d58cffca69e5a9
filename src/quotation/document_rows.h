#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/connection.h"

namespace velmora {

struct DocumentScope;

// The statements that write a quotation's rows and their history. A stored
// quotation is never updated in place: its rows are copied to R営業見積 and
// R営業見積明細 as red rows ("0") and deleted; the state written is inserted
// with black history rows ("1"). Each statement leaves its SaveStatus; each
// step returns false at the first failed statement, and the caller, which
// runs them in one transaction, rolls everything back.
//
// A scheme whose numbers are typed gives no history numbers; its saves then
// write no history rows (and so announce nothing).
class DocumentRows {
public:
    explicit DocumentRows(DocumentScope& scope) : m_scope(scope) {}

    // Header and its black history row under the header's key; takes
    // NewHistoryNo and stamps ユーザID and 登録日付.
    bool InsertHeader();
    // Lines 0 to LastLine with their black rows. A line without a unique line
    // number takes the next one above MaxUniqueLineNo; positions are renumbered.
    bool InsertLines();

    // Red copy and delete of the stored header (LoadedKey); takes OldHistoryNo.
    // No stored header: nothing more happens.
    bool ReplaceHeader();
    enum class Replaced { Done, LinesGone, Failed };
    // Red copy and delete of each stored line. LinesGone (status 6) when the
    // quotation has no stored line.
    Replaced ReplaceLines();

private:
    // The statements run once per line are prepared once per save; each runs
    // with the values its literal text would carry. A step's line statements
    // go to the server together (without a round trip each); the first that
    // fails is reported by its literal text, as if it had run alone, and
    // leaves its status.
    enum LineStatement { kInsertLine, kInsertLineHistory, kDeleteLine, kLineStatements };
    struct LineCall {
        LineStatement which;
        std::vector<std::optional<std::string>> values;
        std::function<std::string()> literalText;
        int success, failure;
    };
    bool runLines(const std::vector<LineCall>& calls);
    bool prepareLines();

    DocumentScope& m_scope;
    std::unique_ptr<PreparedStatement> m_prepared[kLineStatements];
};

}  // namespace velmora
