#pragma once

#include <optional>
#include <string>
#include <string_view>

// The one argument the entry screen starts the issuing program with: fixed
// fields, no separators, naming the quotations to issue and how.
namespace velmora {

enum class IssueMode { Print, Preview, FormImage };

// Field widths, in the order they follow each other.
inline constexpr std::size_t kOfficeWidth = 3;
inline constexpr std::size_t kModeWidth = 1;
inline constexpr std::size_t kDateWidth = 8;
inline constexpr std::size_t kNumberWidth = 8;
inline constexpr std::size_t kCustomerWidth = 6;
inline constexpr std::size_t kFormKindWidth = 2;
inline constexpr std::size_t kViewWidth = 1;
inline constexpr std::size_t kIssueCommandWidth = kOfficeWidth + kModeWidth + 2 * kDateWidth +
                                                  2 * kNumberWidth + 2 * kCustomerWidth + kFormKindWidth +
                                                  kViewWidth;

// The only form this program issues: the quotation.
inline constexpr std::string_view kQuotationFormKind = "21";

// A range bound left blank is open on that side.
struct IssueRange {
    std::string from;
    std::string to;
};

struct IssueRequest {
    std::string office;
    IssueMode mode = IssueMode::Print;
    IssueRange dates;      // 営業見積日付, "yyyymmdd"
    IssueRange numbers;    // 営業見積No, without the blanks that fill the field
    IssueRange customers;  // 得意先コード, likewise
    bool purchaseView = false;
};

struct ParsedIssueCommand {
    std::optional<IssueRequest> request;
    std::string problem;  // why the command line was refused
};

// Reads the command line; refuses anything the entry screen would not have
// written, saying which field is wrong.
ParsedIssueCommand ParseIssueCommand(std::string_view text);

// The command line for a request, as the entry screen writes it.
std::string IssueCommandText(const IssueRequest& request);

}  // namespace velmora
