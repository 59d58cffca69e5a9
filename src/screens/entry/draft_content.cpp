#include "screens/entry/draft_content.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <map>
#include <string_view>
#include <variant>

#include "quotation/column_table.h"
#include "screens/entry/entry_screen.h"

namespace velmora {

namespace {

constexpr std::string_view kMagic = "velmora-draft-1";

// ---- values as text -----------------------------------------------------------

template <class Int>
bool ParseInt(std::string_view text, Int& into) {
    Int value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return false;
    into = value;
    return true;
}

std::string Text(const std::string& v) { return v; }
std::string Text(std::int16_t v) { return std::to_string(v); }
std::string Text(int v) { return std::to_string(v); }
std::string Text(bool v) { return v ? "1" : "0"; }
std::string Text(Currency v) { return std::to_string(v.scaled()); }

bool Read(std::string_view t, std::string& into) { return into.assign(t), true; }
bool Read(std::string_view t, std::int16_t& into) { return ParseInt(t, into); }
bool Read(std::string_view t, int& into) { return ParseInt(t, into); }
bool Read(std::string_view t, bool& into) {
    if (t != "0" && t != "1") return false;
    into = t == "1";
    return true;
}
bool Read(std::string_view t, Currency& into) {
    std::int64_t scaled = 0;
    if (!ParseInt(t, scaled)) return false;
    into = Currency::FromScaled(scaled);
    return true;
}

// ---- what is written: named members of a record --------------------------------

// One named value of a record of type R, as text both ways.
template <class R>
struct Field {
    std::string name;
    std::function<std::string(const R&)> get;
    std::function<bool(R&, std::string_view)> set;
};

template <class R, class Member>
Field<R> MemberField(std::string name, Member R::*member) {
    return {std::move(name), [member](const R& r) { return Text(r.*member); },
            [member](R& r, std::string_view t) { return Read(t, r.*member); }};
}

// A member of a member (the tax base sums of the header).
template <class R, class Part, class Member>
Field<R> NestedField(std::string name, Part R::*part, Member Part::*member) {
    return {std::move(name), [part, member](const R& r) { return Text(r.*part.*member); },
            [part, member](R& r, std::string_view t) { return Read(t, r.*part.*member); }};
}

template <class P>
struct MemberOwner;
template <class C, class M>
struct MemberOwner<M C::*> {
    using type = C;
};

// The stored columns of a table that are members of R (a line table's
// copies of the header are the header's).
template <class R>
void AddColumns(std::vector<Field<R>>& fields, const QuotationTable& table) {
    for (const ColumnDef& column : table.columns)
        std::visit(
            [&](auto member) {
                if constexpr (std::is_same_v<typename MemberOwner<decltype(member)>::type, R>)
                    fields.push_back(MemberField<R>(std::string(column.name), member));
            },
            column.member);
}

const std::vector<Field<QuotationHeader>>& HeaderFieldsWritten() {
    static const std::vector<Field<QuotationHeader>> fields = [] {
        using H = QuotationHeader;
        std::vector<Field<H>> f;
        AddColumns(f, HeaderTable());
        // What the screen shows beside the stored columns.
        for (auto [name, member] : {std::pair{"営業見積日付年", &H::営業見積日付年}, {"営業見積日付月", &H::営業見積日付月},
                                    {"営業見積日付日", &H::営業見積日付日}, {"見積納期日付年", &H::見積納期日付年},
                                    {"見積納期日付月", &H::見積納期日付月}, {"見積納期日付日", &H::見積納期日付日},
                                    {"担当者名", &H::担当者名}, {"部門名", &H::部門名}, {"セクション名", &H::セクション名}})
            f.push_back(MemberField<H>(name, member));
        f.push_back(MemberField<H>("DocTax", static_cast<Currency H::*>(&H::DocTax)));
        for (auto [side, sums] : {std::pair{"selling.", static_cast<TaxBaseSums H::*>(&H::sellingSums)},
                                  {"purchase.", static_cast<TaxBaseSums H::*>(&H::purchaseSums)}})
            for (auto [name, member] :
                 {std::pair{"addedAtRate", &TaxBaseSums::addedAtRate}, {"includedAtRate", &TaxBaseSums::includedAtRate},
                  {"addedAtPreviousRate", &TaxBaseSums::addedAtPreviousRate},
                  {"includedAtPreviousRate", &TaxBaseSums::includedAtPreviousRate},
                  {"notTaxable", &TaxBaseSums::notTaxable}})
                f.push_back(NestedField<H>(std::string(side) + name, sums, member));
        return f;
    }();
    return fields;
}

const std::vector<Field<QuotationLine>>& LineFieldsWritten() {
    static const std::vector<Field<QuotationLine>> fields = [] {
        using L = QuotationLine;
        std::vector<Field<L>> f;
        AddColumns(f, LineTable());
        // Not stored: the marks of figures typed by hand and of figures
        // pricing changed, which the grid draws in their own colours.
        for (auto [name, member] : {std::pair{"changed", &L::changed}, {"sellingAmountTyped", &L::sellingAmountTyped},
                                    {"sellingTaxTyped", &L::sellingTaxTyped},
                                    {"purchaseAmountTyped", &L::purchaseAmountTyped},
                                    {"purchaseTaxTyped", &L::purchaseTaxTyped}})
            f.push_back(MemberField<L>(name, static_cast<bool L::*>(member)));
        return f;
    }();
    return fields;
}

const std::vector<Field<DraftContent>>& ScreenFieldsWritten() {
    static const std::vector<Field<DraftContent>> fields = [] {
        using D = DraftContent;
        std::vector<Field<D>> f;
        for (auto [name, member] : {std::pair{"loaded.事業所コード", &LoadedKey::事業所コード},
                                    {"loaded.番号基準日付", &LoadedKey::番号基準日付},
                                    {"loaded.営業見積No", &LoadedKey::営業見積No},
                                    {"loaded.営業見積日付", &LoadedKey::営業見積日付},
                                    {"loaded.storedRow", &LoadedKey::storedRow},
                                    {"loaded.得意先コード", &LoadedKey::得意先コード}})
            f.push_back(NestedField<D>(name, &D::loadedKey, member));
        f.push_back(NestedField<D>("loaded.storedLines", &D::loadedKey, &LoadedKey::storedLines));
        for (auto [name, member] : {std::pair{"quotationNewEntry", &D::quotationNewEntry}, {"newEntry", &D::newEntry},
                                    {"supplierColumns", &D::supplierColumns}, {"envelope", &D::envelope},
                                    {"detailEnabled", &D::detailEnabled}})
            f.push_back(MemberField<D>(name, member));
        for (auto [name, member] : {std::pair{"maxUniqueLineNo", &D::maxUniqueLineNo}, {"topLine", &D::topLine},
                                    {"rowInPanel", &D::rowInPanel}, {"currentLine", &D::currentLine},
                                    {"detailPage", &D::detailPage}, {"numberingStyle", &D::numberingStyle}})
            f.push_back(MemberField<D>(name, member));
        f.push_back(NestedField<D>("currentField", &D::currentField, &Control::name));
        f.push_back(NestedField<D>("currentFieldRow", &D::currentField, &Control::row));
        return f;
    }();
    return fields;
}

// ---- bytes --------------------------------------------------------------------

void Put(std::string& out, std::string_view text) {
    const auto n = static_cast<std::uint32_t>(text.size());
    char size[4] = {static_cast<char>(n & 0xff), static_cast<char>((n >> 8) & 0xff), static_cast<char>((n >> 16) & 0xff),
                    static_cast<char>((n >> 24) & 0xff)};
    out.append(size, 4);
    out.append(text);
}

void PutCount(std::string& out, std::size_t n) { Put(out, std::to_string(n)); }

class Reader {
public:
    explicit Reader(const std::string& bytes) : m_bytes(bytes) {}
    bool next(std::string_view& text) {
        if (m_bytes.size() - m_at < 4) return false;
        const auto* p = reinterpret_cast<const unsigned char*>(m_bytes.data() + m_at);
        const std::size_t n = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::size_t>(p[3]) << 24);
        m_at += 4;
        if (m_bytes.size() - m_at < n) return false;
        text = std::string_view(m_bytes).substr(m_at, n);
        m_at += n;
        return true;
    }
    bool count(std::size_t& n, std::size_t limit) {
        std::string_view text;
        return next(text) && ParseInt(text, n) && n <= limit;
    }
    bool atEnd() const { return m_at == m_bytes.size(); }

private:
    const std::string& m_bytes;
    std::size_t m_at = 0;
};

template <class R>
void PutRecord(std::string& out, const std::vector<Field<R>>& fields, const R& record) {
    PutCount(out, fields.size());
    for (const auto& field : fields) {
        Put(out, field.name);
        Put(out, field.get(record));
    }
}

template <class R>
const Field<R>* FindField(const std::vector<Field<R>>& fields, std::string_view name) {
    for (const auto& field : fields)
        if (field.name == name) return &field;
    return nullptr;
}

// Names this program does not know are passed over; a value it cannot read
// makes the draft unreadable.
template <class R>
bool ReadRecord(Reader& in, const std::vector<Field<R>>& fields, R& record) {
    std::size_t n = 0;
    if (!in.count(n, 100000)) return false;
    for (std::size_t i = 0; i < n; ++i) {
        std::string_view name, value;
        if (!in.next(name) || !in.next(value)) return false;
        if (const Field<R>* field = FindField(fields, name); field && !field->set(record, value)) return false;
    }
    return true;
}

constexpr std::string_view kMarkColumn = "#指定行";

}  // namespace

DraftContent TakeDraft(const EntryScreen& screen) {
    const Quotation& q = screen.quotation;
    const ScreenState& st = screen.state;
    const auto inUse = static_cast<std::size_t>(std::max(q.LastLine + 1, 0));
    DraftContent d;
    d.header = q.header;
    d.lines.assign(q.lines.begin(), q.lines.begin() + static_cast<std::ptrdiff_t>(inUse));
    d.loadedKey = q.loadedKey;
    d.quotationNewEntry = q.NewEntry;
    d.maxUniqueLineNo = q.MaxUniqueLineNo;
    d.newEntry = st.NewEntry;
    d.topLine = st.TopLine;
    d.rowInPanel = st.RowInPanel;
    d.currentLine = st.CurrentLine;
    d.currentField = st.CurrentField;
    d.detailEnabled = st.DetailEnabled;
    d.detailPage = st.DetailPage;
    d.supplierColumns = st.SupplierColumns;
    d.numberingStyle = st.NumberingStyle;
    d.envelope = st.Envelope;
    d.lineMarks.assign(st.LineMark.begin(), st.LineMark.begin() + static_cast<std::ptrdiff_t>(inUse));
    return d;
}

void PutDraft(const DraftContent& d, EntryScreen& screen) {
    Quotation& q = screen.quotation;
    ScreenState& st = screen.state;
    const std::size_t n = std::min(d.lines.size(), static_cast<std::size_t>(kMaxLinesInUse));
    q.header = d.header;
    for (std::size_t i = 0; i < kLineSlots; ++i) q.lines[i] = i < n ? d.lines[i] : QuotationLine();
    q.LastLine = static_cast<int>(n) - 1;
    q.loadedKey = d.loadedKey;
    q.NewEntry = d.quotationNewEntry;
    q.MaxUniqueLineNo = d.maxUniqueLineNo;
    st.NewEntry = d.newEntry;
    st.TopLine = d.topLine;
    st.RowInPanel = d.rowInPanel;
    st.CurrentLine = d.currentLine;
    st.CurrentField = d.currentField;
    st.DetailEnabled = d.detailEnabled;
    st.DetailPage = d.detailPage;
    st.SupplierColumns = d.supplierColumns;
    st.NumberingStyle = d.numberingStyle;
    st.Envelope = d.envelope;
    st.LineMark.fill(0);
    std::copy_n(d.lineMarks.begin(), std::min(d.lineMarks.size(), n), st.LineMark.begin());
}

std::string EncodeDraft(const DraftContent& d) {
    std::string out;
    out.reserve(1024 + d.lines.size() * 600);
    Put(out, kMagic);
    PutRecord(out, HeaderFieldsWritten(), d.header);
    PutRecord(out, ScreenFieldsWritten(), d);
    // The lines as a table: the column names once, then the values line by line.
    const auto& columns = LineFieldsWritten();
    PutCount(out, columns.size() + 1);
    for (const auto& column : columns) Put(out, column.name);
    Put(out, kMarkColumn);
    PutCount(out, d.lines.size());
    for (std::size_t i = 0; i < d.lines.size(); ++i) {
        for (const auto& column : columns) Put(out, column.get(d.lines[i]));
        Put(out, Text(i < d.lineMarks.size() ? d.lineMarks[i] : std::int16_t{0}));
    }
    return out;
}

std::optional<DraftContent> DecodeDraft(const std::string& bytes) {
    Reader in(bytes);
    std::string_view magic;
    if (!in.next(magic) || magic != kMagic) return std::nullopt;
    DraftContent d;
    if (!ReadRecord(in, HeaderFieldsWritten(), d.header) || !ReadRecord(in, ScreenFieldsWritten(), d)) return std::nullopt;
    const auto& known = LineFieldsWritten();
    std::size_t columnCount = 0, lineCount = 0;
    if (!in.count(columnCount, 10000)) return std::nullopt;
    // For each column written: the field it fills, the marks, or nothing.
    std::vector<const Field<QuotationLine>*> columns(columnCount, nullptr);
    std::size_t markColumn = columnCount;
    for (std::size_t c = 0; c < columnCount; ++c) {
        std::string_view name;
        if (!in.next(name)) return std::nullopt;
        if (name == kMarkColumn) markColumn = c;
        columns[c] = FindField(known, name);
    }
    if (!in.count(lineCount, kMaxLinesInUse)) return std::nullopt;
    d.lines.resize(lineCount);
    d.lineMarks.assign(lineCount, 0);
    for (std::size_t i = 0; i < lineCount; ++i)
        for (std::size_t c = 0; c < columnCount; ++c) {
            std::string_view value;
            if (!in.next(value)) return std::nullopt;
            if (c == markColumn ? !Read(value, d.lineMarks[i]) : columns[c] && !columns[c]->set(d.lines[i], value))
                return std::nullopt;
        }
    if (!in.atEnd()) return std::nullopt;
    return d;
}

}  // namespace velmora
