#pragma once

#include <string>
#include <string_view>

namespace velmora {

class DataAccess;

// How far the other programs of the suite have taken a stored quotation.
enum class FollowUp {
    None,
    ActivityOnly,     // only sales activities name it
    Billed,           // T営業請求
    Delivered,        // T営業納品
    Ordered,          // T営業発注 (from a supplier)
    CustomerOrdered,  // T顧客注文
    Unknown,          // a table could not be read: treated as taken further
};

// One query per table in the order activity, billing, delivery, supplier
// order, customer order; the first of the last four with a row decides.
FollowUp FollowUpStatus(DataAccess& access, const std::string& office, const std::string& baseDate,
                        const std::string& number);

// The text the screen puts before its question ("請求済です。"); empty for
// None and ActivityOnly.
std::string_view FollowUpText(FollowUp status);

}  // namespace velmora
