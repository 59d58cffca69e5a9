#include "screens/lookup/lookup_data.h"

#include "data/data_access.h"

namespace velmora {

bool DataAccessLookupData::open(std::unique_ptr<Recordset>& rs, const std::string& sql) {
    return m_access.OpenDataRecordset(rs, sql, false);
}

}  // namespace velmora
