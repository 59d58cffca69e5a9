#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmora {
class DataAccess;
}

namespace velmora::test {

// A state of one of the quotations the crash tests write. Quotation `serial`
// of worker `worker` is "W<worker>Q<serial>"; in state k its title is that
// name + "S<k>", it has Lines() lines named title + ":01", ":02" … and it is
// dated on a day k gives in one of two fiscal periods. Half of one state
// and half of another shows as a title, line name, line count or date that
// do not agree.
struct SavedState {
    int worker = 0;
    int serial = 0;
    int state = 0;

    std::string Id() const;
    std::string Title() const;
    int Lines() const { return 1 + (serial * 5 + state * 7) % 24; }
    std::string LineName(int index) const;
    // Period 0 is the fiscal year closing 2025-03-31, period 1 the next one.
    std::string Date(int period) const;
};

std::optional<SavedState> ParseTitle(const std::string& title);
std::string BaseDateOfPeriod(int period);
// -1 for a base date that is neither period's.
int PeriodOfBaseDate(const std::string& baseDate);

// The quotation counters as the previous check saw them, per base date
// (連番, 履歴連番), so that a check can tell they never went back.
using CounterMarks = std::map<std::string, std::pair<long long, long long>>;

struct StoreCheck {
    std::vector<std::string> faults;
    std::map<std::string, int> storedState;  // quotation name → state stored now
    int moved = 0;                           // quotations that have had more than one key
    int deleted = 0;                         // quotations whose history ends in a red row
    long long historyRows = 0;
};

// Reads the business database in one snapshot and checks what every save,
// move and delete must leave, whole or not at all, with the counters taken
// per fiscal period company-wide:
// - each stored quotation is one whole state: its title, date, base date,
//   line count, line names, positions and line dates agree;
// - each key's history runs black, red, black, red … by history number, a red
//   row repeating the black one before it and each black state newer than
//   the last, all of one quotation; it ends black with the stored state when
//   the key is stored and red when it is not; each history row has the lines
//   of its state and exactly one aggregation notice, and nothing is left over;
// - a quotation is stored under one key at most;
// - the numbers and history numbers of a period are exactly 1 to its
//   counters (a rolled-back save gives its numbers back), every number belongs
//   to one quotation and every history number to one row;
// - no counter is below what `marks` holds; marks moves on to the counters seen.
//
// With `otherTitles`, quotations whose titles are not SavedState titles (a
// large installation's, a load test's) are checked too, by what holds for
// any quotation: lines numbered 1 to n dated as the header; history black,
// red, black … with each red row repeating the black one before it and the
// last row agreeing with what is stored; its numbers in the counters; one
// notice per history row numbered past `noticesFrom` (rows written directly
// by the installation have none) and no notice without its row; one stored
// key per `identity` when it gives one for the title.
struct OtherTitles {
    CounterMarks noticesFrom;
    std::function<std::string(const std::string& title)> identity;
};
StoreCheck CheckSavedStates(DataAccess& access, CounterMarks& marks, const OtherTitles* otherTitles = nullptr);

}  // namespace velmora::test
