#pragma once

#include <string>

namespace velmora {

class Recordset;
struct CompanySettings;
struct DocumentScope;

// The stored header row as it was read, every described column in its
// storage literal: with the number of its lines (LoadedKey), what a change or
// delete compares against before it writes. Every save replaces the header row with
// a new 登録日付 and ユーザID, so a save by anyone else shows here without a
// column the suite's other programs would have to maintain.
std::string StoredFingerprint(const Recordset& header, const CompanySettings& company);

// Inside the transaction of a change or delete: the stored quotation must
// still be the one that was loaded (LoadedKey: the same header row, the same
// number of lines unless they are all gone, which the writes report as
// already deleted), and when the change moves it
// to another key or deletes it, no billing, delivery, supplier order or
// customer order may name it. On PostgreSQL the header row is locked and the
// follow-up tables are held in SHARE mode until the transaction ends, so
// another program's insert of a follow-up row waits for it (SQLite's write
// transaction already excludes every other writer). On refusal SaveStatus
// and SaveMessage say why and false is returned.
bool ConfirmStoredAsLoaded(DocumentScope& scope);

}  // namespace velmora
