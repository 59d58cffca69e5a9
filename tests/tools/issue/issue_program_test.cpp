#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>

#include "issue/form_image.h"
#include "issue/issue_document.h"
#include "issue_fixture.h"
#include "pricing/tax.h"
#include "pricing/tax_rates.h"
#include "quotation/master_reads.h"
#include "text/byte_length.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

long long yen(const std::string& stored) {
    return std::llround(std::stod(stored.empty() ? "0" : stored));
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The text line of a quotation line: it starts with the line number and shows the name.
std::optional<std::string> rowOf(const std::string& text, size_t index, const std::string& name) {
    for (const std::string& line : Lines(text)) {
        std::vector<std::string> words = Words(line);
        if (!words.empty() && words[0] == std::to_string(index + 1) && contains(line, name)) return line;
    }
    return std::nullopt;
}

// The page number at the foot, "n / N", however the extraction spaces it.
std::string pageNumberOf(const std::string& text) {
    std::string last;
    for (const std::string& line : Lines(text))
        if (!Words(line).empty()) last = line;
    std::string joined;
    for (const std::string& word : Words(last)) joined += word;
    return joined;
}

bool hasWord(const std::string& line, const std::string& word) {
    const std::vector<std::string> words = Words(line);
    return std::find(words.begin(), words.end(), word) != words.end();
}

// The amounts that follow a caption on its text line.
std::vector<long long> amountsAfter(const std::string& text, const std::string& caption) {
    for (const std::string& line : Lines(text)) {
        std::vector<std::string> words = Words(line);
        if (words.empty() || words[0] != caption) continue;
        std::vector<long long> amounts;
        for (size_t i = 1; i < words.size(); ++i)
            if (std::optional<long long> a = Amount(words[i])) amounts.push_back(*a);
        return amounts;
    }
    return {};
}

class IssueProgram : public testing::TestWithParam<Engine> {
  protected:
    void SetUp() override {
        install = std::make_unique<IssueInstallation>(GetParam());
        VELMORA_REQUIRE_DATABASE(*install);
        products = install->products();
        ASSERT_GE(products.size(), 10u);
    }

    // Subtotals of three levels, lines at the rate in force and at the
    // previous one, for a customer taxed per quotation with the correction.
    StoredKey storeMixed() {
        const std::vector<TypedLine> lines = {
            ProductLine(products[0], 3),       ProductLine(products[1], 5),
            ProductLine(products[2], 2, true), SubtotalLine(kLineSubtotal),
            ProductLine(products[3], 7, true), ProductLine(products[4], 1),
            SubtotalLine(kLineSubtotal),       SubtotalLine(kLineMiddleTotal),
            ProductLine(products[5], 4),       SubtotalLine(kLineGrandTotal),
        };
        return install->store("000041", lines, "20261201", "納期は目安です。", "価格は消費税抜きです。");
    }

    std::string header(const StoredKey& key, const std::string& column) {
        return install->value("SELECT " + column + " FROM T営業見積 WHERE 事業所コード = '" + key.office +
                              "' AND 番号基準日付 = '" + key.baseDate + "' AND 営業見積No = '" + key.number +
                              "'");
    }
    std::string pdfPath(const StoredKey& key, bool purchaseView = false) {
        QuotationHeader h;
        h.事業所コード = key.office;
        h.番号基準日付 = key.baseDate;
        h.営業見積No = key.number;
        return install->imageFolder() + "/" + FormImageFileName(h, purchaseView);
    }
    // Issues the stored quotation as a PDF file and returns its path, empty when the program failed.
    std::string issue(const StoredKey& key, bool purchaseView = false) {
        ProgramRun run = RunIssuer(*install, CommandFor(key, '3', purchaseView));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.exitCode == 0 ? pdfPath(key, purchaseView) : "";
    }
    // The pages the program plans for the stored quotation.
    SheetPlan plannedPages(const StoredKey& key, bool purchaseView = false) {
        Letterhead letterhead;
        auto access = install->open();
        EXPECT_TRUE(ReadLetterhead(*access, "001", letterhead));
        TaxRateTable rates;
        rates.Load(*access);
        return PrepareDocument(letterhead, install->read(key), rates, purchaseView).plan;
    }

    std::unique_ptr<IssueInstallation> install;
    std::vector<std::string> products;
};

TEST_P(IssueProgram, ThePdfShowsTheCustomerEveryLineAndTaxTotalsThatAddUpToTheStoredTotals) {
    const StoredKey key = storeMixed();
    ProgramRun run = RunIssuer(*install, CommandFor(key, '3'));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string pdf = pdfPath(key);
    EXPECT_EQ(run.out, pdf + "\n");
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_EQ(PdfPages(pdf), 1);
    const std::string text = PdfText(pdf);
    // The Japanese glyphs travel with the file.
    const std::vector<std::string> fonts = PdfFonts(pdf);
    ASSERT_FALSE(fonts.empty());
    for (const std::string& font : fonts) {
        const std::vector<std::string> words = Words(font);
        EXPECT_TRUE(contains(words.at(0), "NotoSansCJKjp")) << font;
        EXPECT_TRUE(hasWord(font, "yes")) << "embedded: " << font;
    }

    EXPECT_TRUE(contains(text, header(key, "得意先名称A"))) << text;
    EXPECT_TRUE(contains(text, header(key, "御担当者名") + " 様"));
    EXPECT_TRUE(contains(text, header(key, "タイトル")));
    EXPECT_TRUE(
        contains(text, "登録番号 " + install->value("SELECT 登録番号 FROM M事業所 WHERE コード = '001'")));
    EXPECT_TRUE(contains(text, "納期は目安です。"));
    EXPECT_TRUE(contains(text, "価格は消費税抜きです。"));
    EXPECT_EQ(pageNumberOf(text), "1/1");

    // Every line with its stored amount, subtotals with their captions.
    const IssuedQuotation stored = install->read(key);
    ASSERT_EQ(stored.lines.size(), 10u);
    for (size_t i = 0; i < stored.lines.size(); ++i) {
        std::string name = stored.lines[i].商品名;
        if (stored.lines[i].行区分 != kLineOrdinary) name = name.substr(name.find("＊"));
        SCOPED_TRACE(name);
        std::optional<std::string> row = rowOf(text, i, name);
        ASSERT_TRUE(row) << text;
        EXPECT_TRUE(hasWord(*row, stored.lines[i].見積金額.format("#,###,###,##0"))) << *row;
    }

    // The breakdown by rate (without tax, tax, with tax) adds up to the stored totals.
    EXPECT_EQ(amountsAfter(text, "10%対象"), (std::vector<long long>{50708, 5071, 55779})) << text;
    EXPECT_EQ(amountsAfter(text, "8%対象（旧税率）"), (std::vector<long long>{38454, 3075, 41529})) << text;
    EXPECT_EQ(yen(header(key, "税抜見積金額合計")), 89162);
    EXPECT_EQ(yen(header(key, "見積消費税合計")), 8146);
    EXPECT_EQ(yen(header(key, "税込見積金額合計")), 97308);
    EXPECT_EQ(amountsAfter(text, "合計金額（税込）"), std::vector<long long>{97308});
    EXPECT_EQ(amountsAfter(text, "御見積金額"), std::vector<long long>{97308});
}

TEST_P(IssueProgram, TheFormImageIsFiledAsAnAttachmentOfTheQuotation) {
    const StoredKey key = storeMixed();
    const std::string identifier = key.office + key.baseDate + key.number;
    // One attached by hand before: the next number follows the highest.
    install->business(
        "INSERT INTO M付属書類 (情報名, 情報識別ID, SEQNo, 書類名, タイトル) VALUES ('Velmora', '" +
        identifier + "', '004', '/home/yamada/図面.pdf', '図面')");
    const std::string pdf = pdfPath(key);
    for (const char* seqNo : {"005", "006"}) {
        SCOPED_TRACE(seqNo);
        ProgramRun run = RunIssuer(*install, CommandFor(key, '3'));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string where = " FROM M付属書類 WHERE 情報名 = 'Velmora' AND 情報識別ID = '" + identifier +
                                  "' AND SEQNo = '" + seqNo + "'";
        ASSERT_EQ(install->count(where.substr(6)), 1);
        auto access = install->open();
        std::unique_ptr<Recordset> row;
        ASSERT_TRUE(access->OpenDataRecordset(row, "SELECT *" + where));
        // The columns the issuing program takes from the quotation; the
        // writer's own (number ID, amount, user, time) are the entry screen's test's.
        const std::pair<const char*, std::string> columns[] = {
            {"書類名", pdf},
            {"タイトル", fs::path(pdf).stem().string()},
            {"伝票事業所コード", key.office},
            {"伝票番号基準日付", key.baseDate},
            {"伝票No", key.number},
            {"伝票日付", key.date},
            {"得意先コード", header(key, "得意先コード")},
            {"納品先コード", header(key, "納品先コード")},
            {"担当者コード", header(key, "担当者コード")},
            {"部門コード", header(key, "部門コード")},
            {"セクションコード", header(key, "セクションコード")},
        };
        for (const auto& [column, expected] : columns) EXPECT_EQ(row->text(column), expected) << column;
        EXPECT_TRUE(contains(row->text("ユーザID"), "00101"))
            << "the start-up staff member: " << row->text("ユーザID");
        // The copy the entry screen opens, under the attachment's stored name.
        const fs::path stored =
            fs::path(install->documentFolder()) /
            ("Velmora_" + identifier + "_" + seqNo + "_" + fs::path(pdf).filename().string());
        ASSERT_TRUE(fs::exists(stored)) << stored;
        EXPECT_TRUE(ReadFile(stored) == ReadFile(pdf));
    }
    EXPECT_EQ(FilesIn(install->imageFolder()), std::vector<std::string>{fs::path(pdf).filename().string()})
        << "issued again, the image replaces its file";
    EXPECT_EQ(FilesIn(install->documentFolder()).size(), 2u);
}

TEST_P(IssueProgram, TheLongestQuotationRunsOverItsPlannedPagesWithTheHeaderOnEach) {
    std::vector<TypedLine> lines;
    for (int i = 0; i < kMaxLinesInUse; ++i)
        lines.push_back(ProductLine(products[static_cast<size_t>(i) % products.size()], 1 + i % 9));
    const StoredKey key = install->store("000001", lines);
    const std::string pdf = issue(key);
    ASSERT_FALSE(pdf.empty());
    const SheetPlan plan = plannedPages(key);
    const IssuedQuotation stored = install->read(key);
    const int pages = static_cast<int>(plan.pages.size());
    EXPECT_GE(pages, 1 + (kMaxLinesInUse - LinesOnFirstPage() + LinesOnNextPage() - 1) / LinesOnNextPage());
    ASSERT_EQ(PdfPages(pdf), pages);
    for (const SheetPage& page : plan.pages) {
        SCOPED_TRACE("page " + std::to_string(page.number));
        const std::string text = PdfText(pdf, page.number);
        EXPECT_EQ(pageNumberOf(text), std::to_string(page.number) + "/" + std::to_string(pages));
        EXPECT_EQ(contains(text, "品名"), page.lineCount > 0) << "the column header on every page with lines";
        if (page.lineCount == 0) continue;
        for (int line : {page.firstLine, page.firstLine + page.lineCount - 1}) {
            const std::string& name = stored.lines.at(static_cast<size_t>(line)).商品名;
            EXPECT_TRUE(rowOf(text, static_cast<size_t>(line), name)) << "line " << line + 1;
        }
        // No line of another page.
        EXPECT_FALSE(rowOf(text, static_cast<size_t>(page.firstLine + page.lineCount), ""));
    }
}

TEST_P(IssueProgram, NamesAtTheirLongestKeepOneRowAndAFullPageSendsTheTotalsOver) {
    // Full-width characters take two bytes, half-width letters and katakana one.
    const size_t bytes = static_cast<size_t>(kProductNameBytes);
    const std::vector<std::string> names = {"業務用高級事務机椅子収納棚業務用高級事務机椅子収納棚業務用高",
                                            std::string(bytes, 'W'),
                                            "ｶﾞﾝﾀﾞﾑｼｮｳﾋﾝﾒｲｶﾞﾝﾀﾞﾑｼｮｳﾋﾝﾒｲｶﾞﾝﾀﾞﾑｼｮｳﾋﾝﾒｲｶﾞﾝﾀﾞﾑｼｮｳﾋﾝﾒｲｶﾞﾝﾀﾞﾑｼｮ"};
    for (const std::string& name : names) ASSERT_EQ(ByteLength(name), bytes) << name;
    std::vector<TypedLine> lines;
    for (int i = 0; i < LinesOnFirstPage(); ++i)
        lines.push_back(ProductLine(products[static_cast<size_t>(i)], 2, false,
                                    names[static_cast<size_t>(i) % names.size()]));
    const StoredKey key = install->store("000001", lines);
    const std::string pdf = issue(key);
    ASSERT_FALSE(pdf.empty());
    const SheetPlan plan = plannedPages(key);
    ASSERT_EQ(plan.pages.size(), 2u);
    EXPECT_EQ(plan.pages[0].lineCount, LinesOnFirstPage()) << "the first page exactly full";
    EXPECT_EQ(plan.pages[1].lineCount, 0);
    ASSERT_EQ(PdfPages(pdf), 2);
    const std::string first = PdfText(pdf, 1), second = PdfText(pdf, 2);
    const IssuedQuotation stored = install->read(key);
    for (size_t i = 0; i < stored.lines.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(stored.lines[i].商品名, names[i % names.size()]) << "stored whole";
        std::optional<std::string> row = rowOf(first, i, names[i % names.size()]);
        ASSERT_TRUE(row) << "the whole name on one row of the first page";
        EXPECT_TRUE(hasWord(*row, stored.lines[i].見積金額.format("#,###,###,##0"))) << *row;
    }
    EXPECT_FALSE(contains(second, names[0])) << "no line on the second page";
    EXPECT_FALSE(contains(second, "品名"));
    EXPECT_TRUE(contains(second, "合計金額（税込）"));
    EXPECT_EQ(pageNumberOf(first), "1/2");
    EXPECT_EQ(pageNumberOf(second), "2/2");
}

TEST_P(IssueProgram, ThePurchaseViewShowsSuppliersCostsAndTheMargin) {
    const StoredKey key = storeMixed();
    const std::string pdf = issue(key, true);
    EXPECT_EQ(fs::path(pdf).filename().string().rfind("見積書仕入情報_", 0), 0u);
    ASSERT_TRUE(fs::exists(pdf));
    const std::string text = PdfText(pdf);
    EXPECT_TRUE(contains(text, "見積書（仕入情報）"));
    for (const char* caption : {"仕入先", "原価", "仕入金額", "見積金額", "粗利"})
        EXPECT_TRUE(contains(text, caption)) << caption;
    const IssuedQuotation stored = install->read(key);
    // Each line's amount less its cost, both without tax.
    const std::map<size_t, std::string> margins = {{0, "3,144"}, {1, "4,410"}, {2, "1,326"},
                                                   {4, "8,316"}, {5, "1,276"}, {8, "7,116"}};
    for (size_t i = 0; i < stored.lines.size(); ++i) {
        const QuotationLine& line = stored.lines[i];
        if (line.行区分 != kLineOrdinary) continue;
        SCOPED_TRACE(line.商品名);
        std::optional<std::string> row = rowOf(text, i, line.商品名);
        ASSERT_TRUE(row) << text;
        if (!line.仕入先名称A.empty()) {
            EXPECT_TRUE(contains(*row, line.仕入先名称A));
        }
        EXPECT_TRUE(hasWord(*row, line.仕入金額.format("#,###,###,##0")));
        EXPECT_TRUE(hasWord(*row, line.見積金額.format("#,###,###,##0")));
        EXPECT_TRUE(hasWord(*row, margins.at(i)));
    }
    EXPECT_EQ(amountsAfter(text, "粗利"), std::vector<long long>{25588});
}

// Each of the four subtotal captions prints whole on its row, in the
// customer's view and in the narrower name column of the purchase view.
TEST_P(IssueProgram, EverySubtotalCaptionPrintsWholeInBothViews) {
    const StoredKey key = install->store(
        "000001", {ProductLine(products[0], 2), SubtotalLine(kLineSubtotal), SubtotalLine(kLineMiddleTotal),
                   SubtotalLine(kLineLargeTotal), SubtotalLine(kLineGrandTotal)});
    const IssuedQuotation stored = install->read(key);
    ASSERT_EQ(stored.lines.size(), 5u);
    EXPECT_EQ(stored.lines[1].商品名.substr(0, 3), "　") << "stored with the ideographic spaces of the screen";
    const char* captions[] = {"＊小計＊", "＊＊中計＊＊", "＊＊＊大計＊＊＊", "＊＊＊＊合計＊＊＊＊"};
    for (bool purchaseView : {false, true}) {
        SCOPED_TRACE(purchaseView ? "purchase view" : "customer view");
        const std::string text = PdfText(issue(key, purchaseView));
        for (size_t i = 0; i < 4; ++i) {
            std::optional<std::string> row = rowOf(text, i + 1, captions[i]);
            ASSERT_TRUE(row) << captions[i] << "\n" << text;
            EXPECT_TRUE(hasWord(*row, captions[i])) << *row;
            EXPECT_TRUE(hasWord(*row, stored.lines[i + 1].見積金額.format("#,###,###,##0"))) << *row;
        }
    }
}

TEST_P(IssueProgram, ARangeIssuesEveryQuotationInItEachFiledWithItsOwnQuotation) {
    // The demo's quotations of office 001 with numbers 1 to 3, whatever their dates and customers.
    const std::string line =
        "0013" + std::string(16, ' ') + "0000000100000003" + std::string(12, ' ') + "210";
    ProgramRun run = RunIssuer(*install, line);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 3u);
    EXPECT_EQ(FilesIn(install->imageFolder()).size(), 3u);
    for (const char* number : {"00000001", "00000002", "00000003"})
        EXPECT_EQ(install->count("M付属書類 WHERE 伝票No = '" + std::string(number) + "' AND SEQNo = '001'"),
                  1)
            << number;
}

TEST_P(IssueProgram, RefusalsSayWhyEndWithAnErrorAndWriteNothing) {
    const StoredKey key = storeMixed();
    std::string otherCustomer = CommandFor(key, '3');
    otherCustomer.replace(36, 12, "000099000099");
    std::string otherDate = CommandFor(key, '3');
    otherDate.replace(4, 16, "2026113020261130");
    std::string unknown = CommandFor(key, '3');
    unknown.replace(20, 16, "9999999999999999");
    struct Case {
        const char* what;
        std::string line;
        int exitCode;
        const char* says;
    };
    const Case cases[] = {
        {"no such quotation", unknown, 4, "該当する見積がありません。"},
        {"another customer's range", otherCustomer, 4, "該当する見積がありません。"},
        {"another date", otherDate, 4, "該当する見積がありません。"},
        {"bad command line", CommandFor(key, '3').substr(1), 2, "起動パラメータが正しくありません。"},
        {"unknown form kind", CommandFor(key, '3').replace(48, 2, "31"), 2, "帳票種類"},
        {"no printer", CommandFor(key, '0'), 5, "既定のプリンタが設定されていないため印刷できません。"},
        {"preview without a display", CommandFor(key, '1'), 5, "プレビューを表示する画面がありません。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramRun run = RunIssuer(*install, c.line);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        EXPECT_TRUE(contains(run.err, c.says)) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(FilesIn(install->imageFolder()).empty());
        EXPECT_TRUE(FilesIn(install->documentFolder()).empty());
        EXPECT_EQ(install->count("M付属書類"), 0);
    }
    // Without a form-image folder the document folder takes the PDF.
    install->business("UPDATE Mユーザ SET 帳票イメージフォルダ = '' WHERE ID = '0001'");
    ProgramRun run = RunIssuer(*install, CommandFor(key, '3'));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(fs::path(Lines(run.out).at(0)).parent_path(), fs::path(install->documentFolder()));
    // Without a document folder the image could not be filed: nothing is written.
    install->business("UPDATE Mユーザ SET 帳票イメージフォルダ = '" + install->imageFolder() +
                      "', ドキュメントフォルダ = '' WHERE ID = '0001'");
    run = RunIssuer(*install, CommandFor(key, '3'));
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_TRUE(contains(run.err, "ドキュメントフォルダが設定されていません。")) << run.err;
    EXPECT_TRUE(FilesIn(install->imageFolder()).empty());
    EXPECT_EQ(install->count("M付属書類"), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, IssueProgram, testing::Values(Engine::SQLite, Engine::PostgreSQL),
                         EngineName);

}  // namespace
}  // namespace velmora::test
