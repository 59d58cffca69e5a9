#pragma once

#include <memory>
#include <string>

#include "data/recordset.h"

namespace velmora {

class DataAccess;

// Where the lookup windows read from: the business database, or rows a
// test prepares.
class LookupData {
public:
    virtual ~LookupData() = default;
    // A read-only result; true when it has a current row. The recordset is
    // always set and belongs to the caller.
    virtual bool open(std::unique_ptr<Recordset>& rs, const std::string& sql) = 0;
};

// Reads through the data-access operations, without logging the statements.
class DataAccessLookupData : public LookupData {
public:
    explicit DataAccessLookupData(DataAccess& access) : m_access(access) {}
    bool open(std::unique_ptr<Recordset>& rs, const std::string& sql) override;

private:
    DataAccess& m_access;
};

}  // namespace velmora
