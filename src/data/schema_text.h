#pragma once

#include <string_view>

namespace velmora {

// DDL of the configuration and business databases; both engines accept them.
std::string_view ConfigSchemaSql();
std::string_view BusinessSchemaSql();

}  // namespace velmora
