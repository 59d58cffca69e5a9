#pragma once

#include <functional>
#include <string>

namespace velmora {

struct QuotationHistorySettings {
    int count = 0;          // quotations to store
    std::string firstDate;  // "yyyymmdd": they are dated on the working days from here
    std::string lastDate;   // to here, in number order
    // Called now and then with the quotations written so far.
    std::function<void(long long done, long long total)> progress;
};

// Stores years of quotations as the salespeople's own saves would have left
// them: each new one under the next number of its numbering period, its
// header and lines (1 to 998, most of them a handful, a few hundreds, some
// the full 998) priced by the program's pricing on its date, with the black
// history rows of its save; about one in eight changed once or twice later,
// each change leaving the red copy of the stored state and the black rows of
// the new one under history numbers taken in the order of the saves. The
// counters end at the last number and history number given, so the next
// save continues after them.
//
// The rows are written directly, many per statement and a few thousand
// quotations per transaction: saving them one by one would take hours. The
// business database must hold the demo company; customers and products are
// read through the screen's master reads.
bool SeedQuotationHistory(const std::string& businessConnectionString, const QuotationHistorySettings& settings,
                          std::string& error);

}  // namespace velmora
