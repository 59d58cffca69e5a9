#include "quotation/document_sql.h"

#include <cstdio>

#include "data/data_access.h"
#include "linking/linking_state.h"

namespace velmora {

std::string Literal(std::string_view value) { return "'" + ExactLiteral(std::string(value)) + "'"; }

QueryOutcome RunQuery(DataAccess& access, std::unique_ptr<Recordset>& rs, const std::string& sql) {
    if (access.OpenDataRecordset(rs, sql)) return QueryOutcome::Found;
    // A query that ran always names its columns; a failed one leaves an
    // empty recordset behind.
    return rs->columnCount() > 0 ? QueryOutcome::Empty : QueryOutcome::Failed;
}

std::string ThreeDigits(long long value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%03lld", value);
    return buffer;
}

}  // namespace velmora
