#include <functional>

#include "documents_fixture.h"
#include "quotation/master_reads.h"
#include "support/statements.h"

namespace velmora {
namespace {

const std::string kLongName =
    "株式会社北斗東京本店営業所第一第二第三第四第五第六";  // 25 characters, 50 bytes

// The columns customers and counterparties share.
const char* const kPartyColumns =
    "コード, 名称A, 名称B, 御担当者名, 担当者コード, 定価掛率, 消費税区分, 消費税算出区分, 消費税丸め方法, "
    "消費税丸め桁位置, 消費税端数調整区分, 名称入力区分, 取引状況区分";

class MasterReadsTest : public test::DocumentsTest {
  protected:
    void SetUp() override {
        DocumentsTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const std::vector<std::vector<std::string>> statements = {
            test::InsertSql("M部門", "コード, 名称", {{"020", "技術部"}}),
            test::InsertSql("Mセクション", "コード, 名称", {{"101", "第一課"}, {"201", "設計課"}}),
            test::InsertSql("M担当者", "コード, 氏名, 事業所コード, 部門コード, セクションコード, 在籍区分",
                            {{"00101", "田中 太郎", "001", "020", "201", "0"},
                             {"00001", "本社 花子", "000", "010", "101", "0"},
                             {"00201", "大阪 次郎", "002", "010", "", "0"},
                             {"00102", "退職 三郎", "001", "010", "", "1"},
                             {"00103", "新人 四郎", "001", "099", "", "0"}}),
            test::InsertSql(
                "M得意先", kPartyColumns,
                {{"000101", "株式会社 北斗", "東京本店", "山田 様", "00101", "80", "2", "1", "1", "2", "1",
                  "0", "0"},
                 {"000102", kLongName, "", "", "00001", "0", "1", "3", "0", "0", "0", "1", "0"},
                 {"000103", "休止 商事", "", "", "00101", "0", "1", "2", "0", "0", "0", "1", "3"},
                 {"000104", "担当なし 商事", "", "", "09999", "0", "1", "2", "0", "0", "0", "1", "0"}}),
            test::InsertSql("M得意先", "コード, 担当者コード, 取引状況区分", {{"000106", "00101", "0"}}),
            test::InsertSql("M対応先", kPartyColumns,
                            {{"500001", "見込 工業", "大阪営業所", "木村 様", "00201", "50", "2", "1", "5",
                              "1", "1", "0", "0"}}),
            test::InsertSql("M得意先御担当者", "得意先コード, 御担当者コード, 氏名",
                            {{"000101", "00001", "鈴木 一郎"},
                             {"000101", "00002", "長谷川美由紀営業部第一課課長代理補佐"}}),
            test::InsertSql("M対応先御担当者", "対応先コード, 御担当者コード, 氏名",
                            {{"500001", "00001", "対応 花子"}}),
            test::InsertSql("M納品先", "コード, 名称A, 名称B, 担当者コード, 名称入力区分, 取引状況区分",
                            {{"000201", "北斗 倉庫", "第二棟", "00101", "0", "0"},
                             {"000202", "休止 倉庫", "", "00101", "1", "3"},
                             {"000203", "担当なし 倉庫", "", "09999", "1", "0"},
                             {"000204", "名称Bなし 倉庫", "", "00101", "0", "0"}}),
            test::InsertSql("M商品",
                            "コード, 名称A, 名称B, 単位, 売上課税区分, 売上消費税区分, 仕入課税区分, "
                            "仕入消費税区分, 税抜販売定価, 税込販売定価, 税抜販売単価, 税込販売単価, "
                            "税抜仕入単価, 税込仕入単価, 仕入先コード, 取扱状況区分",
                            {{"P-100", "六角ボルト", "M8×30", "箱", "0", "1", "0", "1", "1200", "1320",
                              "1000", "1100", "600", "660", "300001", "0"},
                             {"P-200", "廃番品", "", "個", "0", "1", "0", "1", "100", "110", "100", "110",
                              "50", "55", "", "3"},
                             {"O'BRIEN", "輸入工具", "", "台", "1", "2", "2", "2", "5000.5", "5500.55",
                              "4800", "5280", "1234.5678", "1358.0246", "", "0"},
                             {"P-300", "旧仕入先品", "", "個", "0", "1", "0", "1", "100", "110", "100", "110",
                              "50", "55", "300009", "0"},
                             {"P-400", "汎用品", std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                              std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                              std::nullopt, std::nullopt, std::nullopt, "", "0"},
                             {"P-500", kLongName, "一二三四五六七八九十", "ケース単位十二", "0", "1", "0",
                              "1", "1", "1", "1", "1", "1", "1", "", "0"}}),
            test::InsertSql("M仕入先",
                            "コード, 名称A, 消費税区分, 消費税算出区分, 消費税丸め方法, 消費税丸め桁位置, "
                            "消費税端数調整区分, 名称入力区分, 取引状況区分",
                            {{"300001", "山本工業", "1", "1", "2", "1", "0", "0", "0"},
                             {"300009", "休止工業", "1", "1", "0", "0", "0", "1", "3"}}),
        };
        for (const std::vector<std::string>& table : statements)
            for (const std::string& sql : table) exec(sql);
    }
};

// The header a read starts from: another customer, staff member and
// delivery destination already entered.
QuotationHeader presetHeader() {
    QuotationHeader h;
    h.得意先コード = "000999";
    h.得意先名称A = "前の得意先A";
    h.得意先名称B = "前の得意先B";
    h.得意先御担当者コード = "00009";
    h.担当者コード = "00012";
    h.担当者名 = "佐藤 一郎";
    h.部門コード = "010";
    h.部門名 = "営業部";
    h.セクションコード = "301";
    h.セクション名 = "前の課";
    h.納品先コード = "000999";
    h.納品先名称A = "前の納品先A";
    h.納品先名称B = "前の納品先B";
    h.定価掛率 = Units(75);
    return h;
}

// A code and the name that goes with it.
void take(std::string& code, std::string& name, const char* newCode, const char* newName) {
    code = newCode;
    name = newName;
}

void takeStaff(QuotationHeader& h, const char* code, const char* name, const char* department,
               const char* departmentName, const char* section, const char* sectionName) {
    h.担当者コード = code;
    h.担当者名 = name;
    h.部門コード = department;
    h.部門名 = departmentName;
    h.セクションコード = section;
    h.セクション名 = sectionName;
}

// Every column of customer 000101 in a preset header.
void takeCustomer000101(QuotationHeader& h) {
    h.得意先コード = "000101";
    h.得意先名称A = "株式会社 北斗";
    h.得意先名称B = "東京本店";
    h.御担当者名 = "山田 様";
    h.定価掛率 = Units(80);
    takeStaff(h, "00101", "田中 太郎", "020", "技術部", "201", "設計課");
    h.得意先消費税区分 = 2;
    h.得意先消費税算出区分 = 1;
    h.得意先消費税丸め方法 = 1;
    h.得意先消費税丸め桁位置 = 2;
    h.得意先消費税端数調整区分 = 1;
    h.得意先名称入力区分 = 0;
}

void takeDelivery(QuotationHeader& h, const char* code, const char* nameA, const char* nameB) {
    h.納品先コード = code;
    h.納品先名称A = nameA;
    h.納品先名称B = nameB;
    h.納品先名称入力区分 = 0;
}

// A read of a code into the header, as the screen calls it.
using HeaderRead = MasterRead (*)(DataAccess&, QuotationHeader&, const std::string&);

using Edit = std::function<void(QuotationHeader&)>;

struct HeaderCase {
    const char* what;
    HeaderRead read;
    std::string code;
    Edit before;  // the header differs from the preset in this
    bool found;
    Edit after;  // what the read changes; nothing for a row not found
    bool taxSettingsChanged = false;
    bool rateChanged = false;
};

TEST_P(MasterReadsTest, HeaderReadsCopyByTheirRules) {
    const HeaderRead customer = [](auto& a, auto& h, auto& c) { return ReadCustomer(a, h, c, false); };
    const HeaderRead counterparty = [](auto& a, auto& h, auto& c) { return ReadCustomer(a, h, c, true); };
    const HeaderRead contact = [](auto& a, auto& h, auto& c) { return ReadContact(a, h, c, false); };
    const HeaderRead counterpartyContact = [](auto& a, auto& h, auto& c) { return ReadContact(a, h, c, true); };
    // Staff as the signed-in office 001 reads them, and as the head office 000.
    const HeaderRead staff = [](auto& a, auto& h, auto& c) { return ReadStaffMember(a, h, c, "001"); };
    const HeaderRead headOfficeStaff = [](auto& a, auto& h, auto& c) { return ReadStaffMember(a, h, c, "000"); };
    const HeaderRead delivery = [](auto& a, auto& h, auto& c) { return ReadDelivery(a, h, c, false); };
    const HeaderRead counterpartyDelivery = [](auto& a, auto& h, auto& c) { return ReadDelivery(a, h, c, true); };
    const Edit none = [](QuotationHeader&) {};
    const HeaderCase cases[] = {
        {"customer: every column", customer, "000101", none, true, takeCustomer000101, true, true},
        {"customer: the same row again changes nothing", customer, "000101", takeCustomer000101, true, none},
        {"customer: 御担当者名 only fills an empty one", customer, "000101",
         [](QuotationHeader& h) { h.御担当者名 = "既存 様"; }, true,
         [](QuotationHeader& h) {
             takeCustomer000101(h);
             h.御担当者名 = "既存 様";
         },
         true, true},
        {"customer: calculation 3 is 2, empty 名称B and rate 0 keep the header's, a long name is cut", customer,
         "000102", [](QuotationHeader& h) { h.得意先消費税算出区分 = 1; }, true,
         [](QuotationHeader& h) {
             h.得意先コード = "000102";
             h.得意先名称A = "株式会社北斗東京本店営業所第一第二第三第";  // 40 bytes
             takeStaff(h, "00001", "本社 花子", "010", "営業部", "101", "第一課");
             h.得意先消費税算出区分 = 2;
         },
         true, false},
        {"customer: Null columns keep the header's", customer, "000106", none, true,
         [](QuotationHeader& h) {
             h.得意先コード = "000106";
             takeStaff(h, "00101", "田中 太郎", "020", "技術部", "201", "設計課");
         }},
        {"customer: inactive", customer, "000103", none, false, none},
        {"customer: its staff member does not exist", customer, "000104", none, false, none},
        {"customer: a counterparty code is no customer", customer, "500001", none, false, none},
        {"counterparty: names and staff, not the rate or tax settings", counterparty, "500001", none, true,
         [](QuotationHeader& h) {
             h.得意先コード = "500001";
             h.得意先名称A = "見込 工業";
             h.得意先名称B = "大阪営業所";
             h.御担当者名 = "木村 様";
             takeStaff(h, "00201", "大阪 次郎", "010", "営業部", "", "");
             h.得意先名称入力区分 = 0;
         }},
        {"counterparty: a customer code is no counterparty", counterparty, "000101", none, false, none},
        {"contact: replaces a typed name, a long one cut to 30 bytes", contact, "00002",
         [](QuotationHeader& h) { take(h.得意先コード, h.御担当者名, "000101", "既存 様"); }, true,
         [](QuotationHeader& h) {
             take(h.得意先御担当者コード, h.御担当者名, "00002", "長谷川美由紀営業部第一課課長代");
         }},
        {"contact: of another customer", contact, "00001", [](QuotationHeader& h) { h.得意先コード = "000102"; }, false,
         none},
        {"counterparty contact", counterpartyContact, "00001", [](QuotationHeader& h) { h.得意先コード = "500001"; },
         true, [](QuotationHeader& h) { take(h.得意先御担当者コード, h.御担当者名, "00001", "対応 花子"); }},
        {"counterparty contact: a customer's contact is none", counterpartyContact, "00001",
         [](QuotationHeader& h) { h.得意先コード = "000101"; }, false, none},
        {"staff of the signed-in office", staff, "00101", none, true,
         [](QuotationHeader& h) { takeStaff(h, "00101", "田中 太郎", "020", "技術部", "201", "設計課"); }},
        {"staff of office 000 is valid in office 001", staff, "00001", none, true,
         [](QuotationHeader& h) { takeStaff(h, "00001", "本社 花子", "010", "営業部", "101", "第一課"); }},
        {"staff of office 002 is not valid in office 001", staff, "00201", none, false, none},
        {"staff of office 002 is valid when signed in at 000", headOfficeStaff, "00201", none, true,
         [](QuotationHeader& h) { takeStaff(h, "00201", "大阪 次郎", "010", "営業部", "", ""); }},
        {"staff who left", staff, "00102", none, false, none},
        {"staff whose department is missing leaves no other department's name", staff, "00103", none, true,
         [](QuotationHeader& h) { takeStaff(h, "00103", "新人 四郎", "099", "", "", ""); }},
        {"department", ReadDepartment, "020", none, true,
         [](QuotationHeader& h) { take(h.部門コード, h.部門名, "020", "技術部"); }},
        {"department: no such code", ReadDepartment, "030", none, false, none},
        {"section", ReadSection, "101", none, true,
         [](QuotationHeader& h) { take(h.セクションコード, h.セクション名, "101", "第一課"); }},
        {"section: no such code", ReadSection, "999", none, false, none},
        {"delivery", delivery, "000201", none, true,
         [](QuotationHeader& h) { takeDelivery(h, "000201", "北斗 倉庫", "第二棟"); }},
        {"delivery: empty 名称B keeps the header's", delivery, "000204", none, true,
         [](QuotationHeader& h) { takeDelivery(h, "000204", "名称Bなし 倉庫", "前の納品先B"); }},
        {"delivery: inactive", delivery, "000202", none, false, none},
        {"delivery: its staff member does not exist", delivery, "000203", none, false, none},
        {"counterparty delivery", counterpartyDelivery, "500001", none, true,
         [](QuotationHeader& h) { takeDelivery(h, "500001", "見込 工業", "大阪営業所"); }},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        QuotationHeader header = presetHeader();
        c.before(header);
        const QuotationHeader before = header;
        QuotationHeader expected = header;
        if (c.found) c.after(expected);

        MasterRead result = c.read(access(), header, c.code);
        EXPECT_EQ(result.found, c.found);
        EXPECT_EQ(header, expected);
        EXPECT_EQ(result.copied, !(before == expected));
        EXPECT_EQ(result.taxSettingsChanged, c.taxSettingsChanged);
        EXPECT_EQ(result.rateChanged, c.rateChanged);
    }
}

// A line that already holds another product and a counterparty as supplier.
QuotationLine presetLine() {
    QuotationLine line;
    line.商品コード = "X-1";
    line.商品名 = "前の品名";
    line.見積単位 = "式";
    line.見積数量 = Units(3);
    line.商品売上課税区分 = 2;
    line.商品売上消費税区分 = 2;
    line.商品仕入課税区分 = 2;
    line.商品仕入消費税区分 = 2;
    for (Currency* price : {&line.商品税抜販売定価, &line.商品税込販売定価, &line.商品税抜販売単価,
                            &line.商品税込販売単価, &line.商品税抜仕入単価, &line.商品税込仕入単価})
        *price = Units(9999);
    line.仕入先対応先区分 = 1;
    line.仕入先コード = "599999";
    line.仕入先名称A = "前の仕入先";
    line.仕入先名称入力区分 = 1;
    line.仕入先消費税区分 = 2;
    line.仕入先消費税算出区分 = 2;
    line.仕入先消費税丸め方法 = 9;
    line.仕入先消費税丸め桁位置 = 3;
    line.仕入先消費税端数調整区分 = 1;
    return line;
}

// The product's code, name and unit on the line, with its tax settings and price snapshot.
void takeProduct(QuotationLine& l, const std::string& code, const std::string& name, const char* unit,
                 std::int16_t salesCategory, std::int16_t salesKind, std::int16_t purchaseCategory,
                 std::int16_t purchaseKind, std::initializer_list<const char*> prices) {
    l.商品コード = code;
    l.商品名 = name;
    l.見積単位 = unit;
    l.商品売上課税区分 = salesCategory;
    l.商品売上消費税区分 = salesKind;
    l.商品仕入課税区分 = purchaseCategory;
    l.商品仕入消費税区分 = purchaseKind;
    Currency* targets[] = {&l.商品税抜販売定価, &l.商品税込販売定価, &l.商品税抜販売単価,
                           &l.商品税込販売単価, &l.商品税抜仕入単価, &l.商品税込仕入単価};
    std::size_t i = 0;
    for (const char* price : prices) *targets[i++] = *Currency::Parse(price);
}

void supplierSettings(QuotationLine& l, std::int16_t kind, std::int16_t calculation, std::int16_t rounding,
                      std::int16_t digit, std::int16_t adjust) {
    l.仕入先消費税区分 = kind;
    l.仕入先消費税算出区分 = calculation;
    l.仕入先消費税丸め方法 = rounding;
    l.仕入先消費税丸め桁位置 = digit;
    l.仕入先消費税端数調整区分 = adjust;
}

enum class LineReadKind { Product, Supplier, CounterpartySupplier };

struct LineCase {
    const char* what;
    LineReadKind read;
    std::string code;
    bool found;
    std::function<void(QuotationLine&)> after;
    bool supplierNotFound = false;    // product reads
    bool taxSettingsChanged = false;  // supplier reads
};

TEST_P(MasterReadsTest, LineReadsFillTheProductAndSupplier) {
    using K = LineReadKind;
    const LineCase cases[] = {
        {"product with its supplier", K::Product, "P-100", true,
         [](QuotationLine& l) {
             takeProduct(l, "P-100", "六角ボルトM8×30", "箱", 0, 1, 0, 1,
                         {"1200", "1320", "1000", "1100", "600", "660"});
             l.仕入先対応先区分 = 0;
             l.仕入先コード = "300001";
             l.仕入先名称A = "山本工業";
             l.仕入先名称入力区分 = 0;
             supplierSettings(l, 1, 1, 2, 1, 0);
         }},
        {"product tied to no supplier leaves the line's; an apostrophe in the code; exact decimals",
         K::Product, "O'BRIEN", true,
         [](QuotationLine& l) {
             takeProduct(l, "O'BRIEN", "輸入工具", "台", 1, 2, 2, 2,
                         {"5000.5", "5500.55", "4800", "5280", "1234.5678", "1358.0246"});
         }},
        {"product whose supplier is inactive", K::Product, "P-300", true,
         [](QuotationLine& l) {
             takeProduct(l, "P-300", "旧仕入先品", "個", 0, 1, 0, 1,
                         {"100", "110", "100", "110", "50", "55"});
             l.仕入先対応先区分 = 0;
             l.仕入先コード = "";
         },
         true},
        {"product with Null columns replaces the snapshot with zeros", K::Product, "P-400", true,
         [](QuotationLine& l) {
             takeProduct(l, "P-400", "汎用品", "", 0, 0, 0, 0, {"0", "0", "0", "0", "0", "0"});
         }},
        {"product name and unit cut to 60 and 8 bytes", K::Product, "P-500", true,
         [](QuotationLine& l) {
             takeProduct(l, "P-500", kLongName + "一二三四五", "ケース単", 0, 1, 0, 1,
                         {"1", "1", "1", "1", "1", "1"});
         }},
        {"product inactive", K::Product, "P-200", false, [](QuotationLine& l) { l.商品コード = ""; }},
        {"supplier", K::Supplier, "300001", true,
         [](QuotationLine& l) {
             l.仕入先コード = "300001";
             l.仕入先名称A = "山本工業";
             l.仕入先名称入力区分 = 0;
             supplierSettings(l, 1, 1, 2, 1, 0);
         },
         false, true},
        {"counterparty as supplier keeps the tax settings", K::CounterpartySupplier, "500001", true,
         [](QuotationLine& l) {
             l.仕入先コード = "500001";
             l.仕入先名称A = "見込 工業";
             l.仕入先名称入力区分 = 0;
         }},
        {"a supplier code is no counterparty", K::CounterpartySupplier, "300001", false,
         [](QuotationLine& l) { l.仕入先コード = ""; }},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.what);
        QuotationLine line = presetLine();
        const QuotationLine before = line;
        QuotationLine expected = line;
        c.after(expected);
        if (c.read == K::Product) {
            ProductRead result = ReadProduct(access(), line, c.code);
            EXPECT_EQ(result.found, c.found);
            EXPECT_EQ(result.supplierNotFound, c.supplierNotFound);
        } else {
            MasterRead result = ReadSupplier(access(), line, c.code, c.read == K::CounterpartySupplier);
            EXPECT_EQ(result.found, c.found);
            EXPECT_EQ(result.copied, !(before == expected));
            EXPECT_EQ(result.taxSettingsChanged, c.taxSettingsChanged);
        }
        EXPECT_EQ(line, expected);
    }
    // The same supplier read again copies nothing.
    QuotationLine line = presetLine();
    ASSERT_TRUE(ReadSupplier(access(), line, "300001", false).copied);
    EXPECT_FALSE(ReadSupplier(access(), line, "300001", false).copied);
}

INSTANTIATE_TEST_SUITE_P(Engines, MasterReadsTest,
                         testing::Values(test::Engine::SQLite, test::Engine::PostgreSQL), test::EngineName);

}  // namespace
}  // namespace velmora
