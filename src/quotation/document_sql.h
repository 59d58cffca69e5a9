#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace velmora {

class DataAccess;
class Recordset;

// A key or code between apostrophes, exactly as held: an apostrophe typed
// into a number field is doubled instead of ending the literal.
std::string Literal(std::string_view value);

// A query's outcome, telling an empty result from a statement that failed:
// inside a save a failed read must stop the save, an empty one need not.
enum class QueryOutcome { Found, Empty, Failed };
QueryOutcome RunQuery(DataAccess& access, std::unique_ptr<Recordset>& rs, const std::string& sql);

// "000" and "00000000" numbers.
std::string ThreeDigits(long long value);

}  // namespace velmora
