#pragma once

#include <string>

// Starting the suite's other programs from the entry screen: the fixed-layout
// argument of each start, and the linked start of the registration programs,
// which waits for the started program's reply.
namespace velmora {

class DataAccess;

// The programs, by what the screen starts them for.
inline constexpr const char* kCustomerRegistration = "Dunvale";
inline constexpr const char* kCounterpartyRegistration = "Ferrano";
inline constexpr const char* kContactRegistration = "Galtesi";
inline constexpr const char* kCounterpartyContactRegistration = "Hormeli";
inline constexpr const char* kDeliveryRegistration = "Istavo";
inline constexpr const char* kSupplierRegistration = "Juvenko";
inline constexpr const char* kProductRegistration = "Lorrima";
inline constexpr const char* kProductActivityInquiry = "Penrodi";
inline constexpr const char* kQuotationProgram = "Velmora";
inline constexpr const char* kCustomerOrderProgram = "Talmire";

// Messages of a failed start. A linked start shows the program name followed
// by kProgramMissing ("Dunvaleプログラムが有りません"); the reference start
// of Velmora shows nothing.
inline constexpr const char* kProgramMissing = "プログラムが有りません";
inline constexpr const char* kInquiryMissing = "問合せプログラムが有りません";
inline constexpr const char* kQuotationCopyMissing = "Velmoraプログラムが有りません";
inline constexpr const char* kCustomerOrderMissing = "Talmireプログラムが有りません";

// Registration programs by the panel and its master switch.
const char* CustomerPanelProgram(bool counterparty);  // Dunvale / Ferrano
const char* ContactPanelProgram(bool counterparty);   // Galtesi / Hormeli
const char* DeliveryPanelProgram(bool counterparty);  // Istavo / Ferrano
const char* SupplierPanelProgram(bool counterparty);  // Juvenko / Ferrano

// Arguments. Codes are fixed width (left-aligned, blank-padded, cut); a
// blank code takes the "new" layout of zeros followed by the names to
// propose, as comma-separated fields. A comma inside such a value would
// move every later field, so it is written full-width ("，").
//
// Customer or counterparty panel:
//   office + code(6), or office + "000000,," + nameA + "," + nameB + ",,,,,,," + contact + ",," + staff.
std::string CustomerPanelArgument(const std::string& office, const std::string& code,
                                  const std::string& nameA, const std::string& nameB,
                                  const std::string& contactName, const std::string& staffCode);
// Contact panel: office + customer(6) + contact(5), or office + customer(6) + "00000," + contact name + ",,".
std::string ContactPanelArgument(const std::string& office, const std::string& customerCode,
                                 const std::string& contactCode, const std::string& contactName);
// Delivery panel: office + code(6), or office + "000000,," + nameA + "," + nameB + ",,,,,,,,," + staff.
std::string DeliveryPanelArgument(const std::string& office, const std::string& code,
                                  const std::string& nameA, const std::string& nameB,
                                  const std::string& staffCode);
// A line's supplier panel: office + code(6), or office + "000000,," + name + ",,,,,,,,," + staff.
std::string SupplierPanelArgument(const std::string& office, const std::string& code, const std::string& name,
                                  const std::string& staffCode);
// A line's product panel: office + code(16), or office + zeros(16) + "," + the
// name's first 15 characters + "," + the rest of the name + "," + unit + ",".
std::string ProductPanelArgument(const std::string& office, const std::string& code,
                                 const std::string& productName, const std::string& unit);
// The product's sales activities over the year up to the aggregation date
// ("yyyymmdd"): office + code(16) + the day after the same date a year
// earlier + the aggregation date. A date that does not exist a year earlier
// (29 February) counts as the month's last day, so the period is a whole
// year; an aggregation date that is not a real date gives no start date.
// Started only for a line with a product code.
std::string ProductActivityArgument(const std::string& office, const std::string& productCode,
                                    const std::string& aggregationDate);
// A new quotation copied from this one (Velmora, and the customer order
// program Talmire): office + zeros(16) + office + base date + number(8).
std::string QuotationCopyArgument(const std::string& office, const std::string& baseDate,
                                  const std::string& number);
// The quotation this one was copied from, opened in another Velmora: its
// office + base date + number; empty (no start) when there is no reference
// number or it is "00000000".
std::string ReferenceSourceArgument(const std::string& office, const std::string& baseDate,
                                    const std::string& number);

// A plain start: the program in the program folder, detached, not waited
// for. False when it is missing or cannot be run.
bool StartSibling(const std::string& programFolder, const std::string& program, const std::string& argument);

// What the screen does while a linked start waits.
class LinkWait {
  public:
    virtual ~LinkWait() = default;
    virtual void SetWindowEnabled(bool enabled) = 0;
    // LinkWaiting: every event handler of the screen returns at once.
    virtual void SetWaiting(bool waiting) = 0;
    // Waits without blocking the window's events.
    virtual void Pause(int milliseconds) = 0;
    // False when waiting must stop: the user gave up, or the session is
    // ending (a termination signal, logout).
    virtual bool KeepWaiting() = 0;
};

struct LinkedResult {
    bool started = false;  // false: the program is missing (the screen shows its name + kProgramMissing)
    bool replied = false;  // false after a start: the program ended without a reply, or waiting stopped
    bool endedWithoutReply = false;  // the started program has ended and no reply came
    std::string endInfo;   // what the program replied with, often a new code; may be empty
};

// The notice after a registration program that ended without replying.
std::string EndedWithoutReplyNotice(const std::string& program);

// A registration start: announces the start in the linking table, starts the
// program and waits, polling every 20 ms, until it replies, until it has
// ended without a reply, or until waiting stops (KeepWaiting). The window is
// disabled and LinkWaiting set for the whole call and both undone on every
// way out. A start message nobody took (failed start, no reply, given up) is
// withdrawn, so it cannot be taken by a later start.
LinkedResult LaunchLinked(DataAccess& access, const std::string& programFolder, const std::string& program,
                          const std::string& argument, LinkWait& wait);

}  // namespace velmora
