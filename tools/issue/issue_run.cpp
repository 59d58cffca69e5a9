#include "issue/issue_run.h"

#include <memory>

#include "app/installation.h"
#include "app/program.h"
#include "data/data_access.h"
#include "platform/identity.h"
#include "pricing/tax_rates.h"
#include "quotation/attachments.h"

namespace velmora {

namespace {

std::string rangeText(const char* caption, const IssueRange& range) {
    if (range.from.empty() && range.to.empty()) return {};
    std::string text = std::string("、") + caption + " ";
    if (range.from == range.to) return text + range.from;
    return text + range.from + "～" + range.to;
}

std::string startStaffCode(DataAccess& access) {
    std::unique_ptr<Recordset> rs;
    if (!access.OpenConfigRecordset(
            rs, std::string("SELECT * FROM 動作環境定義") + " WHERE 動作環境定義ID = '001'"))
        return {};
    std::string code = rs->text("起動担当者コード");
    rs->close();
    return code;
}

IssueFailure databaseUnusable(const std::string& why) {
    return {kExitDatabase, std::string(kMessageDatabaseUnusable) + "\n" + why};
}

}  // namespace

std::string DescribeRequest(const IssueRequest& request) {
    return "事業所 " + request.office + rangeText("見積No", request.numbers) +
           rangeText("見積日付", request.dates) + rangeText("得意先", request.customers);
}

std::optional<IssueFailure> PrepareIssue(DataAccess& access, const std::string& programFolder,
                                         const std::string& argument, IssueJob& job) {
    ParsedIssueCommand parsed = ParseIssueCommand(argument);
    if (!parsed.request) return IssueFailure{kExitCommandLine, parsed.problem};
    job.request = *parsed.request;

    const std::string root = FindRootFolder(programFolder);
    if (root.empty()) return databaseUnusable(programFolder + " はインストール先の prgbin ではありません。");
    LogIdentity& identity = access.identity();
    identity.programId = kIssuingProgramId;
    identity.officeCode = job.request.office;
    identity.userId = ReadUserName();
    identity.computerId = ReadComputerName();
    DatabaseDefinition definition;
    std::string problem;
    if (!OpenInstallationDatabases(access, root, definition, problem)) return databaseUnusable(problem);
    identity.staffCode = startStaffCode(access);
    job.userId = identity.userId + identity.staffCode + identity.computerId;

    if (!ReadLetterhead(access, job.request.office, job.letterhead))
        return IssueFailure{kExitDatabase, kMessageUserInfoUnusable};
    // The image is filed with the attachments, whose copies live in the document folder.
    if (job.request.mode == IssueMode::FormImage && job.letterhead.documentFolder.empty())
        return IssueFailure{kExitOutput, kNoDocumentFolder};

    std::vector<QuotationKey> keys;
    switch (FindQuotations(access, job.request, keys)) {
        case FindOutcome::Failed:
            return databaseUnusable("見積を検索できませんでした。");
        case FindOutcome::None:
            return IssueFailure{kExitNoQuotation,
                                "該当する見積がありません。\n" + DescribeRequest(job.request)};
        case FindOutcome::Found:
            break;
    }
    TaxRateTable rates;
    rates.Load(access);
    job.documents.reserve(keys.size());
    for (const QuotationKey& key : keys) {
        IssuedQuotation quotation;
        if (!ReadIssuedQuotation(access, key, quotation))
            return databaseUnusable("見積 " + key.office + " " + key.baseDate + " " + key.number +
                                    " を読み込めませんでした。");
        job.documents.push_back(
            PrepareDocument(job.letterhead, std::move(quotation), rates, job.request.purchaseView));
    }
    return std::nullopt;
}

}  // namespace velmora
