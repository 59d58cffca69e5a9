#include "quotation/quotation_model.h"

namespace velmora {

void Quotation::ClearToNew() {
    header = QuotationHeader();
    for (QuotationLine& line : lines) line = QuotationLine();
    LastLine = -1;
    loadedKey = LoadedKey();
    NewHistoryNo.clear();
    OldHistoryNo.clear();
    SaveKind.clear();
    SaveStatus = 0;
    SaveMessage.clear();
    MaxUniqueLineNo = 0;
    LoadNotice.clear();
    SummaryDate.clear();
    NewEntry = true;
    SavedKey.clear();
}

void SplitDate(const std::string& date, std::string& year, std::string& month, std::string& day) {
    auto part = [&](size_t from, size_t count) { return date.size() > from ? date.substr(from, count) : std::string(); };
    year = part(0, 4);
    month = part(4, 2);
    day = part(6, 2);
}

}  // namespace velmora
