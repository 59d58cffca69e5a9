#include "issue_fixture.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "app/installation.h"
#include "data/postgres/postgres_connection.h"
#include "issue/issue_command.h"
#include "pricing/company_settings.h"
#include "pricing/pricing_changes.h"
#include "quotation/document_scope.h"
#include "quotation/master_reads.h"
#include "quotation/quotation_date.h"
#include "quotation/save.h"
#include "support/scripted_prompts.h"

namespace velmora::test {

namespace fs = std::filesystem;

namespace {

std::string commandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot run " + command);
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    if (pclose(pipe) != 0) throw std::runtime_error("failed: " + command);
    return output;
}

std::string shellQuoted(const std::string& text) {
    return "'" + text + "'";
}

}  // namespace

std::vector<std::string> IssueInstallation::products() const {
    auto access = open();
    std::unique_ptr<Recordset> rs;
    std::vector<std::string> codes;
    access->OpenDataRecordset(rs, "SELECT コード FROM M商品 WHERE 取扱状況区分 <> '3' ORDER BY コード");
    for (; rs && !rs->eof(); rs->moveNext()) codes.push_back(rs->text("コード"));
    return codes;
}

StoredKey IssueInstallation::store(const std::string& customer, const std::vector<TypedLine>& lines,
                                   const std::string& date, const std::string& remarkA,
                                   const std::string& remarkB) const {
    auto access = open();
    access->identity() = {"Velmora", "001", "00101", "test", "TEST-PC"};
    QuotationContext context;
    context.operatingOffice = "001";
    context.startStaffCode = "00101";
    context.userName = "test";
    context.computerName = "TEST-PC";
    context.updateRunFlag = 1;
    std::unique_ptr<Recordset> rs;
    if (!access->OpenDataRecordset(rs, "SELECT * FROM Mユーザ WHERE ID = '0001'") ||
        !ReadCompanySettings(*rs, context.company))
        throw std::runtime_error("no company record");
    Quotation q;
    ScriptedPrompts prompts;
    DocumentScope scope(*access, q, context, prompts);
    StartNewQuotation(scope, date);
    QuotationHeader& h = q.header;
    if (!ReadCustomer(*access, h, customer, false).found) throw std::runtime_error("no customer " + customer);
    h.タイトル = "テスト用見積";
    h.見積条件 = "従来通り";
    h.見積納期 = "受注後2週間";
    h.見積期限 = "発行後30日";
    h.見積伝票備考A = remarkA;
    h.見積伝票備考B = remarkB;
    QuotationPricing pricing(context.company, scope.rates);
    for (size_t i = 0; i < lines.size(); ++i) {
        const TypedLine& typed = lines[i];
        q.LastLine = static_cast<int>(i);
        QuotationLine& line = q.lines[i];
        if (typed.kind == kLineOrdinary) {
            if (!ReadProduct(*access, line, typed.product).found)
                throw std::runtime_error("no product " + typed.product);
            if (typed.previousRate) line.商品売上課税区分 = kTaxablePreviousRate;
            if (!typed.name.empty()) line.商品名 = typed.name;
            pricing.ProductEntered(h, q.linesInUse(), i);
            pricing.EnterFigure(h, q.linesInUse(), i, LineFigure::見積数量, Units(typed.quantity));
        } else {
            line.行区分 = kLineUnset;
            pricing.EnterLineKind(h, q.linesInUse(), i, typed.kind);
        }
    }
    pricing.Totals(h, q.linesInUse());
    if (!QuotationSaver(scope, nullptr).Save().stored)
        throw std::runtime_error("the quotation was not stored: " + q.SaveMessage + prompts.shown());
    access->ExecuteData("DELETE FROM 未集計情報");
    return {h.事業所コード, h.番号基準日付, h.営業見積No, h.営業見積日付, h.得意先コード};
}

IssuedQuotation IssueInstallation::read(const StoredKey& key) const {
    IssuedQuotation quotation;
    if (!ReadIssuedQuotation(*open(), {key.office, key.baseDate, key.number}, quotation))
        throw std::runtime_error("cannot read quotation " + key.number);
    return quotation;
}

ProgramRun RunIssuer(const IssueInstallation& install, const std::string& argument) {
    TempDir outputs;
    const std::string out = outputs.file("out"), err = outputs.file("err");
    const std::string program = install.prgbin() + "/Orvessa";
    pid_t pid = fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(o, STDOUT_FILENO);
        dup2(e, STDERR_FILENO);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("PRINTER");
        // No print server: the default printer is never found.
        setenv("CUPS_SERVER", (outputs.path() / "no-cups.sock").c_str(), 1);
        execl(program.c_str(), program.c_str(), argument.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ProgramRun run;
    int status = 0;
    pid_t ended = 0;
    for (int i = 0; i < 6000 && ended == 0; ++i) {
        ended = waitpid(pid, &status, WNOHANG);
        if (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (ended == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        throw std::runtime_error("the issuing program did not end");
    }
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    return run;
}

std::string CommandFor(const StoredKey& key, char mode, bool purchaseView) {
    auto pad = [](std::string text, size_t width) {
        text.resize(width, ' ');
        return text;
    };
    return key.office + mode + key.date + key.date + pad(key.number, 8) + pad(key.number, 8) +
           pad(key.customer, 6) + pad(key.customer, 6) + "21" + (purchaseView ? "1" : "0");
}

std::string PdfText(const std::string& file, int page) {
    std::string pages = page > 0 ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
    return commandOutput("pdftotext -layout -enc UTF-8" + pages + " " + shellQuoted(file) + " -");
}

int PdfPages(const std::string& file) {
    for (const std::string& line : Lines(commandOutput("pdfinfo " + shellQuoted(file))))
        if (line.rfind("Pages:", 0) == 0) return std::stoi(line.substr(6));
    return -1;
}

std::vector<std::string> PdfFonts(const std::string& file) {
    std::vector<std::string> lines = Lines(commandOutput("pdffonts " + shellQuoted(file)));
    // Past the two heading lines.
    return lines.size() > 2 ? std::vector<std::string>(lines.begin() + 2, lines.end())
                            : std::vector<std::string>{};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::optional<long long> Amount(const std::string& word) {
    static const std::regex amount("-?[0-9,]*[0-9][0-9,]*");
    if (!std::regex_match(word, amount)) return std::nullopt;
    std::string digits = word;
    std::erase(digits, ',');
    return std::stoll(digits);
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace velmora::test
