#pragma once

#include <string>

#include "data/connection.h"

namespace velmora::test {

// The rows the lookup tests search: code tables, masters of every family and
// a few quotations and inquiries dated around kLookupToday. Returns the
// first failing statement's error, or empty.
inline constexpr const char* kLookupToday = "20240515";
std::string InsertLookupRows(Connection& connection);

}  // namespace velmora::test
