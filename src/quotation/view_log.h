#pragma once

#include <string>

namespace velmora {

struct DocumentScope;

// The program ID the view log names.
inline constexpr const char* kViewLogProgram = "Velmora";

// Adds the T閲覧 row for a quotation being opened: numbered by the view-log
// scheme ("01110") for today with the operating office, the number looked up
// and taken again while another program holds it. Like every statement
// outside a save, each commits by itself: a failed insert leaves the number
// taken. False when no row was written (no number could be given, or the
// insert failed).
bool WriteViewLog(DocumentScope& scope, const std::string& office, const std::string& baseDate,
                  const std::string& number);

}  // namespace velmora
