#pragma once

#include <optional>
#include <string>
#include <vector>

#include "issue/issue_command.h"
#include "issue/issue_document.h"
#include "issue/issued_quotation.h"

// The issuing program's run up to the output: the command line read, the
// installation found from the program's folder, the business database
// opened and every quotation the command line names read and laid out.
namespace velmora {

class DataAccess;

// Exit codes of the program.
inline constexpr int kExitIssued = 0;
inline constexpr int kExitCommandLine = 2;
inline constexpr int kExitDatabase = 3;
inline constexpr int kExitNoQuotation = 4;
inline constexpr int kExitOutput = 5;

inline constexpr const char* kIssuingProgramId = "Orvessa";

struct IssueJob {
    IssueRequest request;
    Letterhead letterhead;
    // Each holds a pointer to the letterhead above: the job is not copied.
    std::vector<IssueDocument> documents;
    std::string userId;  // login name, start-up staff code and host name, as the suite's rows carry it

    IssueJob() = default;
    IssueJob(const IssueJob&) = delete;
    IssueJob& operator=(const IssueJob&) = delete;
};

struct IssueFailure {
    int exitCode;
    std::string message;
};

// Nothing when the job is ready for output. Nothing is written on the way.
std::optional<IssueFailure> PrepareIssue(DataAccess& access, const std::string& programFolder,
                                         const std::string& argument, IssueJob& job);

// "事業所 001、見積No 00000001、…": the ranges of a request, for messages.
std::string DescribeRequest(const IssueRequest& request);

}  // namespace velmora
