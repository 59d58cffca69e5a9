#include "issue/issue_command.h"

#include <algorithm>

#include "data/clock.h"

namespace velmora {

namespace {

constexpr const char* kRefused = "起動パラメータが正しくありません。";

std::string refusal(const std::string& detail) {
    return std::string(kRefused) + "\n" + detail;
}

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool allBlank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// Reads the fields off the front of the text in turn.
class FieldReader {
  public:
    explicit FieldReader(std::string_view text) : m_text(text) {}
    std::string_view next(std::size_t width) {
        std::string_view field = m_text.substr(m_at, width);
        m_at += width;
        return field;
    }

  private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

// A date bound: eight digits of a calendar date, or blanks for an open bound.
bool readDate(std::string_view field, const char* caption, std::string& into, std::string& problem) {
    if (allBlank(field)) return true;
    CalendarDate date;
    if (!CalendarDate::Parse(std::string(field), date)) {
        problem = refusal(std::string(caption) + "が日付ではありません: " + quoted(field));
        return false;
    }
    into = std::string(field);
    return true;
}

// A code or number bound, left-aligned and filled with blanks on the right.
bool readCode(std::string_view field, const char* caption, std::string& into, std::string& problem) {
    std::size_t end = field.find_last_not_of(' ');
    if (end == std::string_view::npos) return true;
    if (field.front() == ' ') {
        problem = refusal(std::string(caption) + "が左詰めではありません: " + quoted(field));
        return false;
    }
    into = std::string(field.substr(0, end + 1));
    if (into.find(' ') != std::string::npos) {
        problem = refusal(std::string(caption) + "に空白が含まれています: " + quoted(field));
        return false;
    }
    return true;
}

bool orderedRange(const IssueRange& range, const char* caption, std::string& problem) {
    if (range.from.empty() || range.to.empty() || range.from <= range.to) return true;
    problem =
        refusal(std::string(caption) + "の範囲が逆です: " + quoted(range.from) + " > " + quoted(range.to));
    return false;
}

std::string padRight(const std::string& text, std::size_t width) {
    std::string field = text.substr(0, std::min(text.size(), width));
    field.resize(width, ' ');
    return field;
}

}  // namespace

ParsedIssueCommand ParseIssueCommand(std::string_view text) {
    ParsedIssueCommand parsed;
    std::string& problem = parsed.problem;
    // Every field is single-byte: a character outside ASCII shifts the ones after it.
    for (unsigned char c : text) {
        if (c < 0x20 || c > 0x7e) {
            problem = refusal("半角英数字と空白以外の文字が含まれています。");
            return parsed;
        }
    }
    if (text.size() != kIssueCommandWidth) {
        problem = refusal("桁数が " + std::to_string(text.size()) + " 桁です（" +
                          std::to_string(kIssueCommandWidth) + " 桁の固定長）。");
        return parsed;
    }

    IssueRequest request;
    FieldReader fields(text);
    std::string_view office = fields.next(kOfficeWidth);
    if (!allDigits(office)) {
        problem = refusal("事業所コードが正しくありません: " + quoted(office));
        return parsed;
    }
    request.office = std::string(office);

    std::string_view mode = fields.next(kModeWidth);
    if (mode == "0")
        request.mode = IssueMode::Print;
    else if (mode == "1")
        request.mode = IssueMode::Preview;
    else if (mode == "3")
        request.mode = IssueMode::FormImage;
    else {
        problem = refusal("出力区分が正しくありません: " + quoted(mode) +
                          "（0 印刷、1 プレビュー、3 帳票イメージ出力）");
        return parsed;
    }

    if (!readDate(fields.next(kDateWidth), "見積日付（自）", request.dates.from, problem) ||
        !readDate(fields.next(kDateWidth), "見積日付（至）", request.dates.to, problem) ||
        !readCode(fields.next(kNumberWidth), "見積No（自）", request.numbers.from, problem) ||
        !readCode(fields.next(kNumberWidth), "見積No（至）", request.numbers.to, problem) ||
        !readCode(fields.next(kCustomerWidth), "得意先コード（自）", request.customers.from, problem) ||
        !readCode(fields.next(kCustomerWidth), "得意先コード（至）", request.customers.to, problem))
        return parsed;
    if (!orderedRange(request.dates, "見積日付", problem) ||
        !orderedRange(request.numbers, "見積No", problem) ||
        !orderedRange(request.customers, "得意先コード", problem))
        return parsed;

    std::string_view formKind = fields.next(kFormKindWidth);
    if (formKind != kQuotationFormKind) {
        problem = refusal("帳票種類が正しくありません: " + quoted(formKind) + "（見積書は " +
                          std::string(kQuotationFormKind) + "）");
        return parsed;
    }
    std::string_view view = fields.next(kViewWidth);
    if (view != "0" && view != "1") {
        problem = refusal("表示区分が正しくありません: " + quoted(view) + "（0 見積、1 仕入情報）");
        return parsed;
    }
    request.purchaseView = view == "1";
    parsed.request = std::move(request);
    return parsed;
}

std::string IssueCommandText(const IssueRequest& request) {
    const char* mode = request.mode == IssueMode::Print     ? "0"
                       : request.mode == IssueMode::Preview ? "1"
                                                            : "3";
    return padRight(request.office, kOfficeWidth) + mode + padRight(request.dates.from, kDateWidth) +
           padRight(request.dates.to, kDateWidth) + padRight(request.numbers.from, kNumberWidth) +
           padRight(request.numbers.to, kNumberWidth) + padRight(request.customers.from, kCustomerWidth) +
           padRight(request.customers.to, kCustomerWidth) + std::string(kQuotationFormKind) +
           (request.purchaseView ? "1" : "0");
}

}  // namespace velmora
