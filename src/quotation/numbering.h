#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora {

class DataAccess;
struct CompanySettings;

// Numbering schemes (番号ID).
inline constexpr std::string_view kQuotationNumberId = "16210";
inline constexpr std::string_view kInquiryNumberId = "16130";
inline constexpr std::string_view kViewLogNumberId = "01110";

// What a failed take or peek gives, with the message below shown once.
inline constexpr std::string_view kNoNumber = "00000000";
inline constexpr std::string_view kNumberingFailedMessage = "番号情報に問題が発生設定できませんでした。";
// Base dates of the undated and the typed-number schemes.
inline constexpr std::string_view kUndatedBaseDate = "99999999";
inline constexpr std::string_view kTypedNumbersBaseDate = "88888888";

// Document numbers from the counter tables shared by all programs of the
// suite: A番号情報 (the scheme and the undated company-wide counters),
// A期日別番号情報 (dated), A事業所別番号情報 and A事業所別期日別番号情報 (per office,
// when 伝票番号管理区分 is not 0). Counters are 8-digit texts.
//
// Several programs take numbers from the same rows. A counter is only moved
// on from the value that was read: when another taker moved it first, the
// update finds no row and the take starts again from the new value, so two
// takers never leave with the same number.
class Numbering {
public:
    // Shows a message to the user (an OK box on the screen).
    using MessageSink = std::function<void(const std::string&)>;
    // Today as "yyyymmdd".
    using TodaySource = std::function<std::string()>;

    Numbering(DataAccess& access, const CompanySettings& company, MessageSink notify, TodaySource today);

    // The number base date of a document dated date ("99999999" means today);
    // "" when the scheme has no A番号情報 row or the date is unreadable.
    std::string BaseDate(std::string_view numberId, std::string_view date);

    // The number the next take would give, without taking it; "" for a scheme
    // whose numbers are typed; "00000000" (with the message) on failure.
    std::string PeekNumber(std::string_view numberId, std::string_view baseDate, std::string_view office);
    // The next number, counted up.
    std::string TakeNumber(std::string_view numberId, std::string_view baseDate, std::string_view office);
    // The next history number (履歴連番), counted up.
    std::string TakeHistoryNumber(std::string_view numberId, std::string_view baseDate, std::string_view office);

    // The next quotation number not yet used in T営業見積 for the office and
    // base date; "" when numbers are typed, "00000000" on failure.
    std::string TakeQuotationNumber(std::string_view office, std::string_view baseDate);
    // The next 営業見積履歴No not yet used in R営業見積.
    std::string TakeQuotationHistoryNumber(std::string_view office, std::string_view baseDate);

    // Inside a transaction that will take numbers from several counter rows
    // (a quotation moving to another period takes the new period's and the
    // old period's): holds each (office, base date) counter row, created when
    // missing, in one fixed order until the transaction ends. Two such saves
    // then wait for each other instead of each holding the row the other
    // needs next. False when a row could not be held.
    bool HoldCounters(std::string_view numberId, std::vector<std::pair<std::string, std::string>> officeAndBaseDates);

private:
    enum class Step { Peek, Take };
    std::string counterStep(std::string_view numberId, std::string_view baseDate, std::string_view office,
                            std::string_view column, Step step);
    std::optional<std::int16_t> sequenceKind(std::string_view numberId);
    std::string fail();

    DataAccess& m_access;
    const CompanySettings& m_company;
    MessageSink m_notify;
    TodaySource m_today;
};

}  // namespace velmora
