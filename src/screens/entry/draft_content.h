#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quotation/quotation_model.h"
#include "screens/entry/entry_view.h"

namespace velmora {

struct EntryScreen;

// The unsaved quotation as the screen holds it: everything a save would
// store and what the screen keeps beside it (the lines' typed marks, the
// mode, the loaded quotation's key with what the check against lost updates
// recorded at load, the page and the line in view).
struct DraftContent {
    QuotationHeader header;
    std::vector<QuotationLine> lines;  // lines 0 to LastLine
    LoadedKey loadedKey;
    bool quotationNewEntry = true;
    int maxUniqueLineNo = 0;

    bool newEntry = true;
    int topLine = 0;
    int rowInPanel = 0;
    int currentLine = 0;
    Control currentField;
    bool detailEnabled = false;
    int detailPage = 0;
    bool supplierColumns = false;
    int numberingStyle = 0;
    bool envelope = false;
    std::vector<std::int16_t> lineMarks;  // lines 0 to LastLine

    friend bool operator==(const DraftContent&, const DraftContent&) = default;
};

// A copy of the screen's quotation (lines in use only).
DraftContent TakeDraft(const EntryScreen& screen);
// Puts a draft back into the screen's quotation and state (nothing drawn).
void PutDraft(const DraftContent& draft, EntryScreen& screen);

// A self-describing byte string: every value goes with its name, so a draft
// written by an older or newer program reads back what both know.
std::string EncodeDraft(const DraftContent& draft);
// Nullopt for bytes that are not a whole draft.
std::optional<DraftContent> DecodeDraft(const std::string& bytes);

}  // namespace velmora
