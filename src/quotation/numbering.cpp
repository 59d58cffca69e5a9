#include "quotation/numbering.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "pricing/company_settings.h"
#include "quotation/closing_dates.h"

namespace velmora {

namespace {

constexpr std::int64_t kLastNumber = 99999999;
// A take that keeps losing to other takers gives up rather than spin.
constexpr int kMaxTakeAttempts = 1000;

std::string q(std::string_view text) { return "'" + std::string(text) + "'"; }

// Where one counter lives: its table, the condition naming its row, and the
// insert that creates the row (empty for A番号情報, which is never created).
struct CounterRow {
    std::string table;
    std::string condition;
    std::string create;
};

CounterRow counterRow(std::int16_t kind, bool perOffice, std::string_view id, std::string_view base,
                      std::string_view office) {
    bool dated = kind != 0;
    CounterRow row;
    if (!perOffice && !dated) {
        row.table = "A番号情報";
        row.condition = " WHERE A番号情報.番号ID = " + q(id);
        return row;
    }
    row.table = perOffice ? (dated ? "A事業所別期日別番号情報" : "A事業所別番号情報") : "A期日別番号情報";
    row.condition = " WHERE ";
    std::string columns;
    std::string values;
    if (perOffice) {
        row.condition += row.table + ".事業所コード = " + q(office) + " AND ";
        columns += "([事業所コード],";
        values += "(" + q(office) + ",";
    } else {
        columns += "(";
        values += "(";
    }
    row.condition += row.table + ".番号ID = " + q(id);
    columns += "[番号ID]";
    values += q(id);
    if (dated) {
        row.condition += " AND " + row.table + ".期日 = " + q(base);
        columns += ",[期日]";
        values += "," + q(base);
    }
    columns += ",[連番],[履歴連番])";
    values += ",'00000000','00000000')";
    // Two takers may both find the row missing; the second insert does nothing.
    row.create = "INSERT INTO [" + row.table + "] " + columns + " VALUES " + values + " ON CONFLICT DO NOTHING";
    return row;
}

std::string eightDigits(std::int64_t n) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%08lld", static_cast<long long>(n));
    return buffer;
}

}  // namespace

Numbering::Numbering(DataAccess& access, const CompanySettings& company, MessageSink notify, TodaySource today)
    : m_access(access), m_company(company), m_notify(std::move(notify)), m_today(std::move(today)) {}

std::string Numbering::fail() {
    if (m_notify) m_notify(std::string(kNumberingFailedMessage));
    return std::string(kNoNumber);
}

std::optional<std::int16_t> Numbering::sequenceKind(std::string_view numberId) {
    std::unique_ptr<Recordset> rs;
    std::optional<std::int16_t> kind;
    if (m_access.OpenDataRecordset(rs, "SELECT A番号情報.* FROM A番号情報 WHERE A番号情報.番号ID = " + q(numberId)))
        kind = rs->code("連番種類");
    rs->close();
    return kind;
}

std::string Numbering::BaseDate(std::string_view numberId, std::string_view date) {
    std::string d(date);
    if (d == kUndatedBaseDate && m_today) d = m_today();
    std::optional<std::int16_t> kind = sequenceKind(numberId);
    if (!kind) return {};
    switch (*kind) {
        case 0: return std::string(kUndatedBaseDate);
        case 1: return FiscalClosingDate(d, m_company);
        case 2: return MonthlyClosingDate(d, m_company);
        case 3: return d;
        default: return std::string(kTypedNumbersBaseDate);
    }
}

std::string Numbering::counterStep(std::string_view numberId, std::string_view baseDate, std::string_view office,
                                   std::string_view column, Step step) {
    std::optional<std::int16_t> kind = sequenceKind(numberId);
    if (!kind) return fail();
    if (*kind < 0 || *kind > 3) return {};
    CounterRow row = counterRow(*kind, m_company.伝票番号管理区分 != 0, numberId, baseDate, office);
    std::string select = "SELECT " + row.table + ".* FROM " + row.table + row.condition;

    std::unique_ptr<Recordset> rs;
    if (!row.create.empty() && !m_access.OpenDataRecordset(rs, select)) m_access.ExecuteData(row.create);

    std::string col(column);
    // On a server, takers inside a save's transaction keep the row until
    // they commit; those waiting for it each find it moved at the commit and
    // must read and try again, all of them at every commit. Held first, the
    // row is theirs one after another: the read that follows sees the last
    // number and the take succeeds at once. (A take on its own commits at
    // once and has nothing to hold.)
    Connection* data = m_access.dataConnection();
    if (step == Step::Take && m_access.dataEngine() == EngineKind::PostgreSQL && data && data->inTransaction() &&
        !m_access.ExecuteData("UPDATE " + row.table + " SET 連番 = 連番" + row.condition))
        return fail();
    for (int attempt = 0; attempt < kMaxTakeAttempts; ++attempt) {
        if (!m_access.OpenDataRecordset(rs, select)) return fail();
        std::optional<std::string> current = rs->value(col);
        rs->close();
        std::int64_t next = ValInteger(current.value_or("")) + 1;
        if (next < 1) next = 1;
        if (next > kLastNumber) return fail();
        std::string number = eightDigits(next);
        if (step == Step::Peek) return number;

        std::string update = "UPDATE " + row.table + " SET " + " " + col + " = " + q(number) + row.condition + " AND " +
                             row.table + "." + col + (current ? " = " + q(*current) : " IS NULL") + " RETURNING " + col;
        if (m_access.OpenDataRecordset(rs, update)) {
            rs->close();
            return number;
        }
        rs->close();
        // Nothing moved: either another taker was first (read again and take
        // the next one) or the update failed (the counter still shows the old value).
        if (!m_access.OpenDataRecordset(rs, select)) return fail();
        bool movedByOthers = rs->value(col) != current;
        rs->close();
        if (!movedByOthers) return fail();
    }
    return fail();
}

bool Numbering::HoldCounters(std::string_view numberId,
                             std::vector<std::pair<std::string, std::string>> officeAndBaseDates) {
    std::optional<std::int16_t> kind = sequenceKind(numberId);
    if (!kind) return false;
    if (*kind < 0 || *kind > 3) return true;
    std::sort(officeAndBaseDates.begin(), officeAndBaseDates.end());
    for (const auto& [office, baseDate] : officeAndBaseDates) {
        CounterRow row = counterRow(*kind, m_company.伝票番号管理区分 != 0, numberId, baseDate, office);
        if (!row.create.empty() && !m_access.ExecuteData(row.create)) return false;
        // Writing the row takes its lock on every engine, as a take would.
        if (!m_access.ExecuteData("UPDATE " + row.table + " SET 連番 = 連番" + row.condition)) return false;
    }
    return true;
}

std::string Numbering::PeekNumber(std::string_view numberId, std::string_view baseDate, std::string_view office) {
    return counterStep(numberId, baseDate, office, "連番", Step::Peek);
}

std::string Numbering::TakeNumber(std::string_view numberId, std::string_view baseDate, std::string_view office) {
    return counterStep(numberId, baseDate, office, "連番", Step::Take);
}

std::string Numbering::TakeHistoryNumber(std::string_view numberId, std::string_view baseDate,
                                         std::string_view office) {
    return counterStep(numberId, baseDate, office, "履歴連番", Step::Take);
}

std::string Numbering::TakeQuotationNumber(std::string_view office, std::string_view baseDate) {
    std::string peeked = PeekNumber(kQuotationNumberId, baseDate, office);
    if (peeked.empty() || peeked == kNoNumber) return peeked;
    std::unique_ptr<Recordset> rs;
    for (;;) {
        std::string number = TakeNumber(kQuotationNumberId, baseDate, office);
        if (number.empty() || number == kNoNumber) return number;
        bool used = m_access.OpenDataRecordset(
            rs, "SELECT TOP 1 営業見積No FROM T営業見積 WHERE 事業所コード = " + q(office) +
                    " AND 番号基準日付 = " + q(baseDate) + " AND 営業見積No = " + q(number));
        rs->close();
        if (!used) return number;
    }
}

std::string Numbering::TakeQuotationHistoryNumber(std::string_view office, std::string_view baseDate) {
    std::unique_ptr<Recordset> rs;
    for (;;) {
        std::string number = TakeHistoryNumber(kQuotationNumberId, baseDate, office);
        if (number.empty() || number == kNoNumber) return number;
        bool used = m_access.OpenDataRecordset(
            rs, "SELECT TOP 1 営業見積No FROM R営業見積 WHERE 事業所コード = " + q(office) +
                    " AND 番号基準日付 = " + q(baseDate) + " AND 営業見積履歴No = " + q(number));
        rs->close();
        if (!used) return number;
    }
}

}  // namespace velmora
