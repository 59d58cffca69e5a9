#include "pricing/numeric_formats.h"

#include "data/sql_text.h"
#include "text/input_filters.h"

namespace velmora {

namespace {

std::string repeated(int length, char c) {
    return length <= 0 ? std::string() : std::string(static_cast<size_t>(length), c);
}

}  // namespace

std::string DisplayFormat(int decimals) {
    if (decimals < 1 || decimals > 4) return "#,###,###,##0";
    return "#,###,###,##0." + std::string(static_cast<size_t>(decimals), '0');
}

// The statement text rules already own this table; storage on the pricing
// side is the same format.
std::string StorageFormat(int decimals) { return PlainNumberFormat(decimals); }

std::string ZeroMask(int length) { return repeated(length, '0'); }
std::string NineMask(int length) { return repeated(length, '9'); }
std::string ZMask(int length) { return repeated(length, 'Z'); }

// The same digits-and-one-hyphen rule as postcodes; only trimming differs.
std::string PhoneDigits(std::string_view text) { return TrimBlanks(NormalizePostcode(text)); }

}  // namespace velmora
