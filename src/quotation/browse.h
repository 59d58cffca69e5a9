#pragma once

#include <string>

namespace velmora {

struct DocumentScope;

// Moving through the stored quotations of the office in date and number
// order, over all base dates.
class QuotationBrowser {
public:
    explicit QuotationBrowser(DocumentScope& scope) : m_scope(scope) {}

    // The neighbour of the quotation on screen (its office, date and number;
    // without a number, the latest / earliest dated on or before / after its
    // date). False when there is none.
    bool FindPrevious(std::string& baseDate, std::string& number);
    bool FindNext(std::string& baseDate, std::string& number);

    enum class Moved {
        None,      // no neighbour: nothing changed
        Loaded,    // the neighbour is open (with its view-log row)
        Vanished,  // found but gone before it could be read: lines, tax date,
                   // remarks and totals are cleared, the rest of the header stays
    };
    Moved GoToPrevious();
    Moved GoToNext();

private:
    bool find(bool previous, std::string& baseDate, std::string& number);
    Moved goTo(bool previous);

    DocumentScope& m_scope;
};

}  // namespace velmora
