#include "admin/quotation_history.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <queue>
#include <vector>

#include "admin/bulk_insert.h"
#include "admin/demo_random.h"
#include "admin/history_counters.h"
#include "data/data_access.h"
#include "data/sql_text.h"
#include "pricing/company_settings.h"
#include "pricing/pricing_changes.h"
#include "quotation/column_table.h"
#include "quotation/document_scope.h"
#include "quotation/document_sql.h"
#include "quotation/master_reads.h"
#include "quotation/numbering.h"

namespace velmora {

namespace {

constexpr int kQuotationsPerTransaction = 2000;
constexpr int kProgressEvery = 500;
// Statements of a few thousand values: a server is asked once per batch,
// and both engines take that many parameters.
constexpr size_t kHeaderRowsPerStatement = 64;
constexpr size_t kLineRowsPerStatement = 200;
// Quotations go to the customers and products a company deals with most,
// not to every row of the masters; each is read once through the screen's reads.
constexpr int kCustomerPool = 6000;
constexpr int kProductPool = 4000;

const char* const kTitles[] = {"事務用品一式のお見積り", "オフィス家具入替の件", "消耗品定期納入について",
                               "新事務所開設に伴う備品", "年度末一括購入のご提案", "トナー・用紙の単価見直し",
                               "会議室設備更新の件", "倉庫用品のお見積り", "梱包資材のご提案",
                               "新年度備品一括のお見積り", "店舗改装に伴う什器一式", "工場安全用品のご提案",
                               "営業所移転に伴う備品", "年間契約単価のご案内", "研修室設備のお見積り"};
const char* const kConditions[] = {"従来通り", "月末締め翌月末払い", "納品後30日以内お支払い", "別途お打合せ"};
const char* const kDeliveries[] = {"ご注文後7日以内", "ご注文後10日以内", "受注後2週間", "別途ご相談", "在庫品即納"};
const char* const kValidity[] = {"発行後30日", "発行後1ヶ月", "今月末まで", "発行後3ヶ月"};

class QuietPrompts : public DocumentPrompts {
public:
    void ShowMessage(const std::string& text) override { last = text; }
    bool AskYesNo(const std::string&) override { return false; }
    std::string last;
};

template <size_t N>
const char* pick(DemoRandom& random, const char* const (&items)[N]) {
    return items[static_cast<size_t>(random.below(static_cast<int>(N)))];
}

// How many lines quotation `index` has. Most have a handful to a few dozen;
// one in 333 has hundreds, one in 5,000 the full 998 (the first ones early,
// so that a short run has each kind).
int lineCount(int index, DemoRandom& random) {
    if (index % 5000 == 7) return kMaxLinesInUse;
    if (index % 333 == 150) return random.between(100, 700);
    int kind = random.below(100);
    if (kind < 35) return random.between(1, 4);
    if (kind < 75) return random.between(5, 9);
    if (kind < 92) return random.between(10, 20);
    if (kind < 99) return random.between(21, 40);
    return random.between(41, 80);
}

Currency quantityOf(DemoRandom& random) {
    int kind = random.below(100);
    long long units = kind < 70 ? random.between(1, 20) : kind < 90 ? random.between(5, 20) * 5 : random.between(10, 100) * 10;
    return Currency::FromScaled(units * Currency::kScale);
}

// The working days from first to last, as "yyyymmdd".
std::vector<std::string> workingDays(const std::string& first, const std::string& last) {
    using namespace std::chrono;
    std::vector<std::string> result;
    CalendarDate from, to;
    if (!CalendarDate::Parse(first, from) || !CalendarDate::Parse(last, to)) return result;
    sys_days day{year{from.year} / month{static_cast<unsigned>(from.month)} / from.day};
    const sys_days end{year{to.year} / month{static_cast<unsigned>(to.month)} / to.day};
    for (; day <= end; day += days{1}) {
        const unsigned dayOfWeek = weekday{day}.c_encoding();
        if (dayOfWeek == 0 || dayOfWeek == 6) continue;
        const year_month_day ymd{day};
        char text[16];
        std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                      static_cast<unsigned>(ymd.day()));
        result.emplace_back(text);
    }
    return result;
}

// "yyyymmdd hhnnss"; these sort in time order.
std::string stamp(const std::string& date, int secondsOfDay) {
    char text[48];
    std::snprintf(text, sizeof text, "%s %02d%02d%02d", date.c_str(), secondsOfDay / 3600, secondsOfDay / 60 % 60,
                  secondsOfDay % 60);
    return text;
}

std::string daysLater(const std::string& date, int count) {
    CalendarDate d;
    CalendarDate::Parse(date, d);
    return RollOver(d.year, d.month, d.day + count).Text();
}

// A quotation as it stands between its saves: only the lines in use.
struct Draft {
    QuotationHeader header;
    std::vector<QuotationLine> lines;
    int maxUniqueLineNo = 0;
    std::string userId;
    int changesLeft = 0;

    PricedLines all() { return PricedLines(lines.data(), lines.size()); }
};

struct PendingChange {
    std::string when;  // "yyyymmdd hhnnss"
    size_t draft;
    bool operator>(const PendingChange& other) const { return when > other.when; }
};

class HistoryWriter {
public:
    HistoryWriter(DataAccess& access, DocumentScope& scope, const QuotationHistorySettings& settings)
        : m_access(access),
          m_scope(scope),
          m_settings(settings),
          m_company(scope.context.company),
          m_pricing(scope.context.company, scope.rates),
          m_counters(access, scope.context.company) {}

    bool run(std::string& error);

private:
    bool prepare();
    bool readPools();
    const QuotationHeader* customer(const std::string& code);
    const QuotationLine* product(const std::string& code);
    std::string baseDateOf(const std::string& date);

    Draft compose(int index, const std::string& date);
    void addProductLine(Draft& draft, size_t at);
    void change(Draft& draft);
    void stampSave(Draft& draft, const std::string& when);
    bool writeHistory(const Draft& draft, const std::string& historyNo, std::string_view redBlack);
    bool writeStored(const Draft& draft);
    bool applyChange(size_t slot, const std::string& when);
    bool schedule(size_t slot, const std::string& date, int withinDays);
    bool release(size_t slot);
    bool commit();
    bool fail(const std::string& what);

    DataAccess& m_access;
    DocumentScope& m_scope;
    const QuotationHistorySettings& m_settings;
    const CompanySettings& m_company;
    QuotationPricing m_pricing;
    DemoRandom m_random{19980401};
    Connection* m_db = nullptr;

    std::vector<std::string> m_customerCodes, m_productCodes;
    std::map<std::string, std::optional<QuotationHeader>> m_customers;
    std::map<std::string, std::optional<QuotationLine>> m_products;
    struct StaffMember {
        std::string office, userId;
    };
    std::map<std::string, StaffMember> m_staff;
    std::map<std::string, std::string> m_baseDates;
    HistoryCounters m_counters;

    std::unique_ptr<BulkInsert> m_headers, m_lines, m_headerHistory, m_lineHistory;
    std::vector<Draft> m_drafts;  // changed later: held until their last save
    std::vector<size_t> m_freeDrafts;
    std::priority_queue<PendingChange, std::vector<PendingChange>, std::greater<>> m_changes;
    std::string m_error;
};

bool HistoryWriter::fail(const std::string& what) {
    if (m_error.empty()) m_error = what;
    return false;
}

bool HistoryWriter::prepare() {
    m_db = m_access.dataConnection();
    if (m_db == nullptr) return fail("no business database");
    std::string problem;
    if (!m_counters.Load(problem)) return fail(problem);
    if (!m_scope.rates.Load(m_access)) return fail("no tax rates");
    DbError ignored;
    // A new file: a failure half way means building it again.
    if (m_db->kind() == EngineKind::SQLite) m_db->execute("PRAGMA synchronous=OFF; PRAGMA cache_size=-262144", ignored);
    auto writer = [&](const QuotationTable& table, bool history, size_t rows) {
        std::vector<std::string_view> names = ColumnNames(table, history);
        return std::make_unique<BulkInsert>(*m_db, std::string(history ? table.historyName : table.name), names, rows);
    };
    m_headers = writer(HeaderTable(), false, kHeaderRowsPerStatement);
    m_headerHistory = writer(HeaderTable(), true, kHeaderRowsPerStatement);
    m_lines = writer(LineTable(), false, kLineRowsPerStatement);
    m_lineHistory = writer(LineTable(), true, kLineRowsPerStatement);
    return readPools();
}

bool HistoryWriter::readPools() {
    std::unique_ptr<Recordset> rs;
    if (m_access.OpenDataRecordset(rs, "SELECT コード, 事業所コード, ログインID FROM M担当者 ORDER BY コード"))
        for (; !rs->eof(); rs->moveNext()) {
            std::string office = rs->text("事業所コード");
            // Head office staff quote for the Tokyo branch.
            if (office.empty() || office == "000") office = "001";
            const std::string code = rs->text("コード");
            m_staff[code] = {office, rs->text("ログインID") + code + "PC" + code};
        }
    auto sample = [&](const std::string& sql, int size, std::vector<std::string>& into) {
        std::vector<std::string> all;
        if (m_access.OpenDataRecordset(rs, sql))
            for (; !rs->eof(); rs->moveNext()) all.push_back(rs->text("コード"));
        rs->close();
        if (static_cast<int>(all.size()) <= size) {
            into = std::move(all);
            return;
        }
        // An even spread over the whole master, so old and new codes both appear.
        for (int i = 0; i < size; ++i) into.push_back(all[all.size() * static_cast<size_t>(i) / static_cast<size_t>(size)]);
    };
    sample("SELECT コード FROM M得意先 WHERE 取引状況区分 <> '3' ORDER BY コード", kCustomerPool, m_customerCodes);
    sample("SELECT コード FROM M商品 WHERE 取扱状況区分 <> '3' AND 品区分 < '9' ORDER BY コード", kProductPool,
           m_productCodes);
    if (m_staff.empty() || m_customerCodes.empty() || m_productCodes.empty())
        return fail("no staff, customers or products to quote with");
    return true;
}

const QuotationHeader* HistoryWriter::customer(const std::string& code) {
    auto [it, added] = m_customers.try_emplace(code);
    if (added) {
        QuotationHeader header;
        if (ReadCustomer(m_access, header, code, false).found && m_staff.count(header.担当者コード)) it->second = header;
    }
    return it->second ? &*it->second : nullptr;
}

const QuotationLine* HistoryWriter::product(const std::string& code) {
    auto [it, added] = m_products.try_emplace(code);
    if (added) {
        QuotationLine line;
        if (ReadProduct(m_access, line, code).found) {
            // Typed on the purchase page; mostly the selling unit.
            line.仕入単位 = line.見積単位;
            it->second = line;
        }
    }
    return it->second ? &*it->second : nullptr;
}

std::string HistoryWriter::baseDateOf(const std::string& date) {
    auto [it, added] = m_baseDates.try_emplace(date);
    if (added) it->second = m_scope.numbering.BaseDate(kQuotationNumberId, date);
    return it->second;
}

// A product line at `at` as typed: the product, then its quantity.
void HistoryWriter::addProductLine(Draft& draft, size_t at) {
    const QuotationLine* chosen = nullptr;
    while (chosen == nullptr) {
        // Some products sell far more often than others.
        const double u = static_cast<double>(m_random.below(1 << 20)) / (1 << 20);
        chosen = product(m_productCodes[static_cast<size_t>(u * u * static_cast<double>(m_productCodes.size()))]);
    }
    draft.lines.insert(draft.lines.begin() + static_cast<std::ptrdiff_t>(at), *chosen);
    PricedLines lines = draft.all();
    m_pricing.ProductEntered(draft.header, lines, at);
    m_pricing.EnterFigure(draft.header, lines, at, LineFigure::見積数量, quantityOf(m_random));
}

Draft HistoryWriter::compose(int index, const std::string& date) {
    Draft d;
    const QuotationHeader* party = nullptr;
    while (party == nullptr)
        party = customer(m_customerCodes[static_cast<size_t>(m_random.below(static_cast<int>(m_customerCodes.size())))]);
    QuotationHeader& h = d.header;
    h = *party;
    const StaffMember& staff = m_staff[h.担当者コード];
    h.事業所コード = staff.office;
    h.営業見積日付 = date;
    SplitDate(date, h.営業見積日付年, h.営業見積日付月, h.営業見積日付日);
    h.番号基準日付 = baseDateOf(date);
    h.タイトル = pick(m_random, kTitles);
    h.見積条件 = pick(m_random, kConditions);
    h.見積納期 = pick(m_random, kDeliveries);
    h.見積期限 = pick(m_random, kValidity);
    if (m_random.percent(10)) h.見積伝票備考A = "※価格は" + date.substr(0, 4) + "年" + date.substr(4, 2) + "月現在のものです。";
    d.userId = staff.userId;

    // Long quotations are grouped under 小計 lines; the longest end with a 合計.
    const int count = lineCount(index, m_random);
    const bool grouped = count > 12;
    const bool grandTotal = count > 40;
    d.lines.reserve(static_cast<size_t>(count));
    int group = m_random.between(5, 15), inGroup = 0;
    for (int i = 0; i < count; ++i) {
        const bool last = i == count - 1;
        std::int16_t kind = kLineOrdinary;
        if (last && grandTotal) kind = kLineGrandTotal;
        else if (last && !grouped && count >= 3 && index % 4 == 3) kind = kLineSubtotal;
        else if (grouped && inGroup >= group) kind = kLineSubtotal;
        if (kind == kLineOrdinary) {
            addProductLine(d, static_cast<size_t>(i));
            ++inGroup;
            continue;
        }
        d.lines.emplace_back();
        m_pricing.EnterLineKind(h, d.all(), static_cast<size_t>(i), kind);
        inGroup = 0;
        group = m_random.between(5, 15);
    }
    m_pricing.Totals(h, d.all());
    return d;
}

// What a salesperson changes on a stored quotation: a quantity, and now and
// then one more line (within the line limit).
void HistoryWriter::change(Draft& d) {
    std::vector<size_t> ordinary;
    for (size_t i = 0; i < d.lines.size(); ++i)
        if (d.lines[i].行区分 == kLineOrdinary && !d.lines[i].商品コード.empty()) ordinary.push_back(i);
    if (!ordinary.empty()) {
        size_t i = ordinary[static_cast<size_t>(m_random.below(static_cast<int>(ordinary.size())))];
        Currency more = Currency::FromScaled(m_random.between(1, 5) * Currency::kScale);
        m_pricing.EnterFigure(d.header, d.all(), i, LineFigure::見積数量,
                              Currency::Add(d.lines[i].見積数量, more).value_or(d.lines[i].見積数量));
    }
    if (m_random.percent(30) && static_cast<int>(d.lines.size()) < kMaxLinesInUse &&
        (d.lines.empty() || d.lines.back().行区分 == kLineOrdinary))
        addProductLine(d, d.lines.size());
    m_pricing.Totals(d.header, d.all());
}

// What a save stamps: the user and time on every row, unique line numbers
// for new lines, positions renumbered.
void HistoryWriter::stampSave(Draft& d, const std::string& when) {
    d.header.ユーザID = d.userId;
    d.header.登録日付 = when;
    for (size_t i = 0; i < d.lines.size(); ++i) {
        QuotationLine& line = d.lines[i];
        if (ValInteger(line.営業見積固有行No) == 0) line.営業見積固有行No = ThreeDigits(++d.maxUniqueLineNo);
        line.営業見積行No = ThreeDigits(static_cast<long long>(i) + 1);
        line.ユーザID = d.userId;
        line.登録日付 = when;
    }
}

bool HistoryWriter::writeHistory(const Draft& d, const std::string& historyNo, std::string_view redBlack) {
    HistoryMark mark{historyNo, redBlack};
    if (!m_headerHistory->add(ModelValues(HeaderTable(), d.header, nullptr, m_company, &mark)))
        return fail(m_headerHistory->error());
    for (const QuotationLine& line : d.lines)
        if (!m_lineHistory->add(ModelValues(LineTable(), d.header, &line, m_company, &mark)))
            return fail(m_lineHistory->error());
    return true;
}

bool HistoryWriter::writeStored(const Draft& d) {
    if (!m_headers->add(ModelValues(HeaderTable(), d.header, nullptr, m_company))) return fail(m_headers->error());
    for (const QuotationLine& line : d.lines)
        if (!m_lines->add(ModelValues(LineTable(), d.header, &line, m_company))) return fail(m_lines->error());
    return true;
}

// A change save: the red copy of the stored state under one history number,
// then the new state with its black rows under the next.
bool HistoryWriter::applyChange(size_t slot, const std::string& when) {
    Draft& d = m_drafts[slot];
    const QuotationHeader& h = d.header;
    if (!writeHistory(d, m_counters.TakeHistoryNumber(h.事業所コード, h.番号基準日付), kRed)) return false;
    change(d);
    stampSave(d, when);
    if (!writeHistory(d, m_counters.TakeHistoryNumber(h.事業所コード, h.番号基準日付), kBlack)) return false;
    if (--d.changesLeft > 0 && schedule(slot, when.substr(0, 8), 20)) return true;
    return writeStored(d) && release(slot);
}

// The next change of a held quotation, some days after `date`; none past the
// last day of the history, where the saves of others follow.
bool HistoryWriter::schedule(size_t slot, const std::string& date, int withinDays) {
    const std::string day = daysLater(date, m_random.between(1, withinDays));
    if (day > m_settings.lastDate) return false;
    m_changes.push({stamp(day, m_random.between(36000, 61200)), slot});
    return true;
}

bool HistoryWriter::release(size_t slot) {
    m_drafts[slot] = Draft();
    m_freeDrafts.push_back(slot);
    return true;
}

bool HistoryWriter::commit() {
    for (BulkInsert* writer : {m_headers.get(), m_lines.get(), m_headerHistory.get(), m_lineHistory.get()})
        if (!writer->flush()) return fail(writer->error());
    DbError error;
    if (!m_db->commit(error)) return fail("commit: " + error.description);
    return true;
}

bool HistoryWriter::run(std::string& error) {
    DbError failure;
    bool ok = prepare();
    const std::vector<std::string> workdays = ok ? workingDays(m_settings.firstDate, m_settings.lastDate)
                                                 : std::vector<std::string>();
    if (ok && workdays.empty()) ok = fail("no working day from " + m_settings.firstDate + " to " + m_settings.lastDate);
    const long long total = m_settings.count;
    ok = ok && (m_db->begin(failure) || fail("begin: " + failure.description));
    for (int i = 0; ok && i < m_settings.count; ++i) {
        // Spread evenly over the working days, from nine in the morning on.
        const long long position = static_cast<long long>(i) * static_cast<long long>(workdays.size());
        const std::string& date = workdays[static_cast<size_t>(position / total)];
        const std::string when = stamp(date, 32400 + static_cast<int>(position % total * 32400 / total));
        while (ok && !m_changes.empty() && m_changes.top().when <= when) {
            PendingChange next = m_changes.top();
            m_changes.pop();
            ok = applyChange(next.draft, next.when);
        }
        if (!ok) break;

        Draft d = compose(i, date);
        const QuotationHeader& h = d.header;
        d.header.営業見積No = m_counters.TakeNumber(h.事業所コード, h.番号基準日付);
        stampSave(d, when);
        ok = writeHistory(d, m_counters.TakeHistoryNumber(h.事業所コード, h.番号基準日付), kBlack);
        d.changesLeft = m_random.percent(12) ? (m_random.percent(20) ? 2 : 1) : 0;
        if (ok && d.changesLeft == 0) {
            ok = writeStored(d);
        } else if (ok) {
            size_t slot = m_drafts.size();
            if (!m_freeDrafts.empty()) {
                slot = m_freeDrafts.back();
                m_freeDrafts.pop_back();
                m_drafts[slot] = std::move(d);
            } else {
                m_drafts.push_back(std::move(d));
            }
            if (!schedule(slot, date, 14)) ok = writeStored(m_drafts[slot]) && release(slot);
        }
        if (ok && (i + 1) % kQuotationsPerTransaction == 0)
            ok = commit() && (m_db->begin(failure) || fail("begin: " + failure.description));
        if (ok && m_settings.progress && ((i + 1) % kProgressEvery == 0 || i + 1 == m_settings.count))
            m_settings.progress(i + 1, total);
    }
    while (ok && !m_changes.empty()) {
        PendingChange next = m_changes.top();
        m_changes.pop();
        ok = applyChange(next.draft, next.when);
    }
    std::string problem;
    ok = ok && (m_counters.WriteBack(problem) || fail(problem)) && commit();
    if (!ok) {
        if (m_db && m_db->inTransaction()) m_db->rollback();
        error = "the quotation history was not stored: " + m_error;
    }
    return ok;
}

}  // namespace

bool SeedQuotationHistory(const std::string& connection, const QuotationHistorySettings& settings, std::string& error) {
    if (settings.count <= 0) return true;
    DataAccess access;
    access.identity() = {"Velmora", "001", "00101", "demo", "DEMO-PC"};
    DbError failure;
    if (!access.OpenDataConnection(connection, &failure)) {
        error = "cannot open the business database: " + failure.description;
        return false;
    }
    QuotationContext context;
    context.operatingOffice = "001";
    std::unique_ptr<Recordset> rs;
    if (!access.OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'") ||
        !ReadCompanySettings(*rs, context.company)) {
        error = "no company record to price the quotations with";
        return false;
    }
    Quotation unused;
    QuietPrompts prompts;
    DocumentScope scope(access, unused, context, prompts);
    HistoryWriter writer(access, scope, settings);
    return writer.run(error);
}

}  // namespace velmora
