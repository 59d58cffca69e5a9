#include "admin/history_counters.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "pricing/company_settings.h"
#include "quotation/document_sql.h"
#include "quotation/numbering.h"

namespace velmora {

namespace {

std::string eightDigits(std::int64_t n) {
    char text[24];
    std::snprintf(text, sizeof text, "%08lld", static_cast<long long>(n));
    return text;
}

}  // namespace

bool HistoryCounters::Load(std::string& error) {
    std::unique_ptr<Recordset> rs;
    if (!m_access.OpenDataRecordset(rs, "SELECT A番号情報.* FROM A番号情報 WHERE A番号情報.番号ID = " +
                                            Literal(kQuotationNumberId))) {
        error = "no quotation numbering (A番号情報 " + std::string(kQuotationNumberId) + ")";
        return false;
    }
    m_sequenceKind = rs->code("連番種類");
    if (m_sequenceKind >= 0 && m_sequenceKind <= 3) return true;
    error = "quotation numbers are typed in this installation; no history can be numbered";
    return false;
}

HistoryCounters::Counter& HistoryCounters::counter(const std::string& office, const std::string& baseDate) {
    const bool perOffice = m_company.伝票番号管理区分 != 0;
    const bool dated = m_sequenceKind != 0;
    auto key = std::make_pair(perOffice ? office : std::string(), dated ? baseDate : std::string());
    auto found = m_counters.find(key);
    if (found != m_counters.end()) return found->second;

    Counter c;
    const std::string id = Literal(kQuotationNumberId);
    c.condition = " WHERE 番号ID = " + id;
    if (!perOffice && !dated) {
        c.table = "A番号情報";
    } else {
        c.table = perOffice ? (dated ? "A事業所別期日別番号情報" : "A事業所別番号情報") : "A期日別番号情報";
        std::string columns = "番号ID", values = id;
        if (perOffice) {
            c.condition += " AND 事業所コード = " + Literal(office);
            columns += ",事業所コード";
            values += "," + Literal(office);
        }
        if (dated) {
            c.condition += " AND 期日 = " + Literal(baseDate);
            columns += ",期日";
            values += "," + Literal(baseDate);
        }
        c.insert = "INSERT INTO " + c.table + " (" + columns + ",連番,履歴連番) VALUES (" + values;
    }
    std::unique_ptr<Recordset> rs;
    if (m_access.OpenDataRecordset(rs, "SELECT 連番, 履歴連番 FROM " + c.table + c.condition)) {
        c.number = ValInteger(rs->text("連番"));
        c.history = ValInteger(rs->text("履歴連番"));
        c.insert.clear();
    }
    std::string stored = " WHERE 番号基準日付 = " + Literal(baseDate);
    if (perOffice) stored += " AND 事業所コード = " + Literal(office);
    if (m_access.OpenDataRecordset(rs, "SELECT MAX(営業見積No) AS 最大 FROM T営業見積" + stored))
        c.number = std::max(c.number, ValInteger(rs->text("最大")));
    if (m_access.OpenDataRecordset(rs, "SELECT MAX(営業見積履歴No) AS 最大 FROM R営業見積" + stored))
        c.history = std::max(c.history, ValInteger(rs->text("最大")));
    return m_counters.emplace(key, std::move(c)).first->second;
}

std::string HistoryCounters::TakeNumber(const std::string& office, const std::string& baseDate) {
    return eightDigits(++counter(office, baseDate).number);
}

std::string HistoryCounters::TakeHistoryNumber(const std::string& office, const std::string& baseDate) {
    return eightDigits(++counter(office, baseDate).history);
}

bool HistoryCounters::WriteBack(std::string& error) {
    for (const auto& [key, c] : m_counters) {
        const std::string number = "'" + eightDigits(c.number) + "'", history = "'" + eightDigits(c.history) + "'";
        const std::string sql = c.insert.empty()
                                    ? "UPDATE " + c.table + " SET 連番 = " + number + ", 履歴連番 = " + history + c.condition
                                    : c.insert + "," + number + "," + history + ")";
        if (!m_access.ExecuteData(sql)) {
            error = "the counter " + c.table + c.condition + " was not written";
            return false;
        }
    }
    return true;
}

}  // namespace velmora
