#include "quotation/load.h"

#include <algorithm>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "pricing/line_pricing.h"
#include "pricing/line_tax.h"
#include "quotation/closing_dates.h"
#include "quotation/column_table.h"
#include "quotation/document_scope.h"
#include "quotation/document_sql.h"
#include "quotation/stored_check.h"
#include "quotation/view_log.h"

namespace velmora {

namespace {

constexpr std::int16_t kPerBilling = 3;
constexpr std::int16_t kPerQuotation = 2;

// The key the quotation lookup handed over: office and base date of the
// document picked, taken once.
bool takePickedKey(std::string& pickedKey, std::string& office, std::string& baseDate) {
    std::string key = TrimBlanks(pickedKey);
    if (key.size() != 20 || key.find("営業見積") != std::string::npos) return false;
    office = key.substr(1, 3);
    baseDate = key.substr(4, 8);
    pickedKey.clear();
    return true;
}

bool blank(const std::string& text) { return TrimBlanks(text).empty(); }

Currency money(const Recordset& row, const char* column) {
    return Currency::FromScaled(row.scaled4(column).value_or(0));
}

std::string storedLineCondition(const std::string& table, const std::string& office, const std::string& baseDate,
                                const std::string& number, const std::string& uniqueLineNo) {
    std::string prefix = table.empty() ? "" : table + ".";
    return " WHERE " + prefix + "事業所コード = " + Literal(office) + " AND " + prefix + "番号基準日付 = " +
           Literal(baseDate) + " AND " + prefix + "営業見積No = " + Literal(number) + " AND " + prefix +
           "営業見積固有行No = " + Literal(uniqueLineNo);
}

void clearLines(Quotation& q) {
    for (QuotationLine& line : q.lines) line = QuotationLine();
    q.LastLine = -1;
}

}  // namespace

std::string InquiryHeaderQuery(const std::string& office, const std::string& baseDate, const std::string& number) {
    return std::string("SELECT TOP 1 T営業引合.*,M部門.名称 AS 部門名,Mセクション.名称 AS セクション名,M担当者.氏名 AS 担当者名") +
           " FROM" + " Mセクション RIGHT JOIN " + "(M部門 RIGHT JOIN" + "(M担当者 RIGHT JOIN" + " T営業引合" +
           " ON M担当者.コード = T営業引合.担当者コード)" + " ON M部門.コード = T営業引合.部門コード)" +
           " ON Mセクション.コード = T営業引合.セクションコード" + " WHERE T営業引合.営業引合No = " + Literal(number) +
           " AND T営業引合.事業所コード = " + Literal(office) + " AND T営業引合.番号基準日付 = " + Literal(baseDate);
}

std::string HeaderQuery(const std::string& office, const std::string& baseDate, const std::string& number) {
    return std::string("SELECT TOP 1 T営業見積.*, M担当者.氏名 AS 担当者名, M部門.名称 AS 部門名, Mセクション.名称 AS "
                       "セクション名") +
           " FROM Mセクション RIGHT JOIN (M部門 RIGHT JOIN (M担当者 RIGHT JOIN T営業見積 ON M担当者.コード = "
           "T営業見積.担当者コード) ON M部門.コード = T営業見積.部門コード) ON Mセクション.コード = "
           "T営業見積.セクションコード" +
           " WHERE T営業見積.営業見積No = " + Literal(number) + " AND T営業見積.事業所コード = " + Literal(office) +
           " AND T営業見積.番号基準日付 = " + Literal(baseDate);
}

std::string LinesQuery(const std::string& office, const std::string& baseDate, const std::string& number) {
    return std::string("SELECT T営業見積明細.*") + " FROM T営業見積明細 " +
           " WHERE T営業見積明細.事業所コード = " + Literal(office) + " AND T営業見積明細.番号基準日付 = " +
           Literal(baseDate) + " AND T営業見積明細.営業見積No = " + Literal(number) +
           " ORDER BY T営業見積明細.営業見積行No";
}

void ReadStoredHeader(const Recordset& row, QuotationHeader& header) {
    header = QuotationHeader();
    for (const ColumnDef& column : HeaderTable().columns)
        if (!(column.flags & kRecomputedOnLoad)) ReadColumn(column, row, header, nullptr);
    header.担当者名 = row.text("担当者名");
    header.部門名 = row.text("部門名");
    header.セクション名 = row.text("セクション名");
    if (header.得意先消費税算出区分 == kPerBilling) header.得意先消費税算出区分 = kPerQuotation;
    if (header.見積納期日付.empty()) header.見積納期日付 = header.営業見積日付;
    SplitDate(header.営業見積日付, header.営業見積日付年, header.営業見積日付月, header.営業見積日付日);
    SplitDate(header.見積納期日付, header.見積納期日付年, header.見積納期日付月, header.見積納期日付日);
}

bool QuotationLoader::OpenStored(const std::string& office, const std::string& baseDate, const std::string& number) {
    Quotation& q = m_scope.quotation;
    WriteViewLog(m_scope, office, baseDate, number);
    std::unique_ptr<Recordset> rs;
    m_fault = DbFault::None;
    m_scope.access.ClearDataFault();
    const QueryOutcome found = RunQuery(m_scope.access, rs, HeaderQuery(office, baseDate, number));
    if (found == QueryOutcome::Failed) return failed();
    if (found == QueryOutcome::Empty) return false;
    // A header without the lines that failed to come would be taken for a
    // quotation stored without lines, and saved again as a new one.
    Quotation before = q;
    ReadStoredHeader(*rs, q.header);
    std::string storedRow = StoredFingerprint(*rs, m_scope.context.company);
    rs->close();
    const QuotationHeader& h = q.header;
    q.loadedKey = {h.事業所コード, h.番号基準日付, h.営業見積No, h.営業見積日付, storedRow, 0, h.得意先コード};
    q.SummaryDate = SummaryDateOf(h.営業見積日付, m_scope.context.company);

    clearLines(q);
    q.MaxUniqueLineNo = 0;
    if (!readLines(office, baseDate, number, false)) {
        q = std::move(before);
        return failed();
    }
    q.loadedKey.storedLines = q.LastLine + 1;
    q.NewEntry = q.LastLine < 0;
    m_scope.rates.Load(m_scope.access);
    m_scope.RecomputeTotals();
    return true;
}

bool QuotationLoader::readLines(const std::string& office, const std::string& baseDate, const std::string& number,
                                bool asNew) {
    Quotation& q = m_scope.quotation;
    std::unique_ptr<Recordset> rs;
    const QueryOutcome read = RunQuery(m_scope.access, rs, LinesQuery(office, baseDate, number));
    if (read != QueryOutcome::Found) return read == QueryOutcome::Empty;
    for (; !rs->eof() && q.LastLine + 1 < static_cast<int>(kLineSlots); rs->moveNext()) {
        QuotationLine& line = q.lines[static_cast<size_t>(++q.LastLine)];
        for (const ColumnDef& column : LineTable().columns)
            if (!(asNew && (column.flags & kNewOnCopy))) ReadColumn(column, *rs, q.header, &line);
        if (asNew) {
            repriceCopiedLine(line);
        } else {
            q.MaxUniqueLineNo = std::max<int>(q.MaxUniqueLineNo, static_cast<int>(ValInteger(line.営業見積固有行No)));
        }
    }
    rs->close();
    return true;
}

void QuotationLoader::repriceCopiedLine(QuotationLine& line) {
    const QuotationHeader& h = m_scope.quotation.header;
    PricingRules rules = m_scope.rules();
    SetTaxCategories(h, line);
    SellingAmount(rules, line);
    SellingLineTax(rules, h, line);
    PurchaseAmount(rules, line);
    PurchaseLineTax(rules, h, line);
}

bool QuotationLoader::OpenByTypedNumber(const std::string& typed, std::string& pickedKey) {
    Quotation& q = m_scope.quotation;
    QuotationHeader& h = q.header;
    m_fault = DbFault::None;
    m_scope.access.ClearDataFault();
    if (typed == h.営業見積No) return false;
    if (typed.empty()) {
        // A cleared number would store the quotation on screen under another
        // number and leave everything that refers to it behind.
        if (q.loaded()) {
            h.営業見積No = q.loadedKey.営業見積No;
            q.LoadNotice = kNoticeNumberKept;
            return true;
        }
        h.営業見積No = m_scope.numbering.PeekNumber(kQuotationNumberId, h.番号基準日付, h.事業所コード);
        q.LoadNotice.clear();
        return true;
    }
    std::string office = h.事業所コード;
    std::string baseDate = h.番号基準日付;
    takePickedKey(pickedKey, office, baseDate);
    if (OpenStored(office, baseDate, typed)) {
        q.LoadNotice.clear();
        return true;
    }
    // No answer is not "not found": the screen stays as it was.
    if (m_fault != DbFault::None) return false;
    // Not stored: a number is only taken over where there was none (typed
    // numbers). A proposed number, or the number of the quotation on screen,
    // stays, so that a mistyped number never renumbers a stored quotation.
    if (h.営業見積No.empty()) h.営業見積No = typed;
    q.LoadNotice = kNoticeNewNumber;
    return true;
}

QuotationLoader::Reference QuotationLoader::referenceKey(const std::string& typed, std::string& number,
                                                         const std::string& refOffice, const std::string& refBase,
                                                         std::string_view numberId, std::string& pickedKey,
                                                         std::string& office, std::string& baseDate) {
    if (typed == number) return Reference::Unchanged;
    if (typed.empty()) {
        number.clear();
        return Reference::Cleared;
    }
    if (!takePickedKey(pickedKey, office, baseDate)) {
        const QuotationHeader& h = m_scope.quotation.header;
        office = refOffice.empty() ? h.事業所コード : refOffice;
        baseDate = refBase.empty() ? m_scope.numbering.BaseDate(numberId, h.営業見積日付) : refBase;
    }
    return Reference::Read;
}

bool QuotationLoader::failed() {
    m_fault = m_scope.access.DataFault();
    if (m_fault == DbFault::None) m_fault = DbFault::Other;
    return false;
}

bool QuotationLoader::CopyReference(const std::string& typed, std::string& pickedKey) {
    Quotation& q = m_scope.quotation;
    QuotationHeader& h = q.header;
    m_fault = DbFault::None;
    m_scope.access.ClearDataFault();
    std::string office, baseDate;
    Reference step = referenceKey(typed, h.参照営業見積No, h.参照営業見積事業所コード, h.参照営業見積番号基準日付,
                                  kQuotationNumberId, pickedKey, office, baseDate);
    if (step != Reference::Read) return step == Reference::Cleared;
    std::unique_ptr<Recordset> rs;
    const QueryOutcome found = RunQuery(m_scope.access, rs, HeaderQuery(office, baseDate, typed));
    if (found == QueryOutcome::Failed) return failed();
    if (found == QueryOutcome::Empty) {
        q.LoadNotice = kNoticeNotFound;
        return true;
    }
    QuotationHeader ref;
    ReadStoredHeader(*rs, ref);
    rs->close();
    Quotation before = q;

    h.参照営業見積事業所コード = ref.事業所コード;
    h.参照営業見積番号基準日付 = ref.番号基準日付;
    h.参照営業見積No = ref.営業見積No;
    if (ValInteger(h.得意先コード) == 0) {
        h.得意先対応先区分 = ref.得意先対応先区分;
        h.得意先コード = ref.得意先コード;
        h.得意先名称A = ref.得意先名称A;
        h.得意先名称B = ref.得意先名称B;
        h.得意先御担当者コード = ref.得意先御担当者コード;
        h.御担当者名 = ref.御担当者名;
        h.得意先消費税区分 = ref.得意先消費税区分;
        h.得意先消費税算出区分 = ref.得意先消費税算出区分;
        h.得意先消費税丸め方法 = ref.得意先消費税丸め方法;
        h.得意先消費税丸め桁位置 = ref.得意先消費税丸め桁位置;
        h.得意先消費税端数調整区分 = ref.得意先消費税端数調整区分;
        h.得意先名称入力区分 = ref.得意先名称入力区分;
    }
    if (blank(h.担当者コード)) {
        h.担当者コード = ref.担当者コード;
        h.担当者名 = ref.担当者名;
    }
    if (blank(h.部門コード)) {
        h.部門コード = ref.部門コード;
        h.部門名 = ref.部門名;
    }
    if (blank(h.セクションコード)) {
        h.セクションコード = ref.セクションコード;
        h.セクション名 = ref.セクション名;
    }
    if (blank(h.納品先コード)) {
        h.納品先対応先区分 = ref.納品先対応先区分;
        h.納品先コード = ref.納品先コード;
        h.納品先名称A = ref.納品先名称A;
        h.納品先名称B = ref.納品先名称B;
        h.納品先名称入力区分 = ref.納品先名称入力区分;
    }
    if (h.定価掛率.isZero()) h.定価掛率 = ref.定価掛率;
    for (std::string QuotationHeader::*text : {&QuotationHeader::タイトル, &QuotationHeader::見積条件,
                                               &QuotationHeader::見積納期, &QuotationHeader::見積期限,
                                               &QuotationHeader::見積伝票備考A, &QuotationHeader::見積伝票備考B})
        if (blank(h.*text)) h.*text = ref.*text;
    h.消費税表示区分 = ref.消費税表示区分;
    h.合計表示区分 = ref.合計表示区分;

    clearLines(q);
    if (!readLines(ref.事業所コード, ref.番号基準日付, ref.営業見積No, true)) {
        q = std::move(before);
        return failed();
    }
    m_scope.RecomputeTotals();
    q.LoadNotice.clear();
    return true;
}

bool QuotationLoader::StartFromInquiry(const std::string& typed, std::string& pickedKey) {
    Quotation& q = m_scope.quotation;
    QuotationHeader& h = q.header;
    m_fault = DbFault::None;
    m_scope.access.ClearDataFault();
    std::string office, baseDate;
    Reference step = referenceKey(typed, h.参照営業引合No, h.参照営業引合事業所コード, h.参照営業引合番号基準日付,
                                  kInquiryNumberId, pickedKey, office, baseDate);
    if (step != Reference::Read) return step == Reference::Cleared;
    const std::string sql = InquiryHeaderQuery(office, baseDate, typed);
    std::unique_ptr<Recordset> rs;
    const QueryOutcome found = RunQuery(m_scope.access, rs, sql);
    if (found == QueryOutcome::Failed) return failed();
    if (found == QueryOutcome::Empty) {
        q.LoadNotice = kNoticeNotFound;
        return true;
    }
    const Recordset& r = *rs;
    h.参照営業引合事業所コード = r.text("事業所コード");
    h.参照営業引合番号基準日付 = r.text("番号基準日付");
    h.参照営業引合No = r.text("営業引合No");
    if (blank(h.担当者コード)) {
        h.担当者コード = r.text("担当者コード");
        h.担当者名 = r.text("担当者名");
    }
    if (blank(h.部門コード)) {
        h.部門コード = r.text("部門コード");
        h.部門名 = r.text("部門名");
    }
    if (blank(h.セクションコード)) {
        h.セクションコード = r.text("セクションコード");
        h.セクション名 = r.text("セクション名");
    }
    if (blank(h.得意先コード)) {
        h.得意先対応先区分 = r.code("得意先対応先区分");
        h.得意先コード = r.text("得意先コード");
        h.得意先名称A = r.text("得意先名称A");
        h.得意先名称B = r.text("得意先名称B");
        h.得意先名称入力区分 = r.code("得意先名称入力区分");
    }
    if (q.LastLine == -1) {
        QuotationLine& line = q.lines[0];
        line = QuotationLine();
        line.商品コード = r.text("営業引合商品コード");
        line.商品名 = r.text("営業引合商品名A") + r.text("営業引合商品名B");
        line.見積数量 = money(r, "営業引合数量");
        line.見積単位 = r.text("営業引合単位");
        line.見積単価 = money(r, "営業引合単価");
        line.見積金額 = money(r, "営業引合金額");
        line.仕入単価 = money(r, "仕入単価");
        line.仕入金額 = money(r, "仕入金額");
        line.商品名称入力区分 = r.code("営業引合商品名称入力区分");
        line.仕入先対応先区分 = r.code("仕入先対応先区分");
        if (line.仕入先対応先区分 == 0) line.仕入先コード = r.text("仕入先コード");
        line.仕入先名称A = r.text("仕入先名称A");
        line.仕入先名称入力区分 = r.code("仕入先名称入力区分");
        q.LastLine = 0;
        // The inquiry's amounts stand; only the taxes follow from them.
        PricingRules rules = m_scope.rules();
        SellingLineTax(rules, h, line);
        PurchaseLineTax(rules, h, line);
    }
    rs->close();
    m_scope.RecomputeTotals();
    q.LoadNotice.clear();
    return true;
}

bool QuotationLoader::ReadStoredLine(const std::string& office, const std::string& baseDate,
                                     const std::string& number, const std::string& uniqueLineNo, int slot) {
    Quotation& q = m_scope.quotation;
    if (slot < 0 || slot >= static_cast<int>(kLineSlots)) return false;
    std::unique_ptr<Recordset> rs;
    std::string sql = std::string("SELECT T営業見積明細.*") + " FROM T営業見積明細 " +
                      storedLineCondition("T営業見積明細", office, baseDate, number, uniqueLineNo);
    if (RunQuery(m_scope.access, rs, sql) != QueryOutcome::Found) return false;
    QuotationLine& line = q.lines[static_cast<size_t>(slot)];
    line = QuotationLine();
    for (const ColumnDef& column : LineTable().columns)
        if (!(column.flags & kNewOnCopy)) ReadColumn(column, *rs, q.header, &line);
    rs->close();
    const QuotationHeader& h = q.header;
    PricingRules rules = m_scope.rules();
    SetTaxCategories(h, line);
    SellingUnitPriceFromProduct(rules, h, line);
    SellingAmount(rules, line);
    SellingLineTax(rules, h, line);
    PurchaseUnitPriceFromProduct(rules, h, line);
    PurchaseAmount(rules, line);
    PurchaseLineTax(rules, h, line);
    return true;
}

bool QuotationLoader::TakeStoredItem(const std::string& office, const std::string& baseDate,
                                     const std::string& number, const std::string& uniqueLineNo, int line) {
    Quotation& q = m_scope.quotation;
    if (line < 0 || line >= static_cast<int>(kLineSlots)) return false;
    std::unique_ptr<Recordset> rs;
    std::string sql =
        std::string("SELECT *") + " FROM T営業見積明細" + storedLineCondition("", office, baseDate, number, uniqueLineNo);
    if (RunQuery(m_scope.access, rs, sql) != QueryOutcome::Found) return false;
    QuotationLine& target = q.lines[static_cast<size_t>(line)];
    for (const ColumnDef& column : LineTable().columns)
        if (column.flags & kItem) ReadColumn(column, *rs, q.header, &target);
    rs->close();
    target.changed = true;
    repriceCopiedLine(target);
    m_scope.RecomputeTotals();
    return true;
}

}  // namespace velmora
