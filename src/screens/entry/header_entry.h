#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct EntryScreen;
struct EntryField;
struct CommandLine;

// The header, the tail and the memo page: drawing them from the quotation,
// the validation of every field when it is left, the master reads, the four
// tax and total settings with their lists, and the header's lookup windows.
class HeaderEntry {
public:
    explicit HeaderEntry(EntryScreen& screen) : m_s(screen) {}

    // The four setting lists, once at start.
    void FillLists();
    // Header, memo, tail, settings and the captions that follow them.
    void Redraw();

    // A field of the header, tail or memo was left with its text.
    void Leave(const std::string& field, const std::string& text);
    // The text of a field while it is typed: the byte overflow notice.
    void Edited(const std::string& field, const std::string& text);
    void CheckToggled(const std::string& box, bool checked);
    void ListChosen(const std::string& list, int index);
    // The field's lookup window; false when it has none.
    bool OpenLookup(const std::string& field);

    // A new quotation asked for by the command line with preset values.
    void ApplyPresets(const CommandLine& command);
    // After a registration program: the code read again (empty code or not
    // found: the code is cleared). True when found.
    bool RereadCustomer(bool afterRegistration);
    bool RereadContact();
    bool RereadDelivery();

    // The value a field shows, as the lookup windows read it.
    std::string FieldText(const std::string& field) const;

private:
    // The date a typed part makes with the other two; nothing when the part
    // is unchanged, or (with the notice) when they make no date.
    std::optional<std::string> typedDate(const std::string& field, const std::string& text, const char* stem);
    void leaveDate(const std::string& field, const std::string& text);
    void leaveTaxDate(const std::string& field, const std::string& text);
    void leaveNumber(const std::string& field, const std::string& text);
    void leaveCode(const EntryField& field, const std::string& text);
    void leaveSetting(const std::string& field, const std::string& text);
    void leaveRate(const std::string& text);
    // Reads the master of a code field; true when found.
    bool readMaster(const std::string& field, const std::string& code, bool& repriceLines);
    void afterChange(bool linesTouched);
    void refillValidity();
    void drawSettings();

    EntryScreen& m_s;
    std::map<std::string, int> m_listSizes;
};

}  // namespace velmora
