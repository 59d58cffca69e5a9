#include "linking/linking_state.h"

namespace velmora {

void RefreshStartStaffCode(DataAccess& access) {
    std::unique_ptr<Recordset> rs;
    access.identity().staffCode.clear();
    if (access.OpenConfigRecordset(rs, std::string("SELECT *") + " FROM 動作環境定義" + " WHERE 動作環境定義ID = '001'"))
        access.identity().staffCode = rs->text("起動担当者コード");
}

std::string ExactLiteral(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 4);
    for (char c : text) {
        out.push_back(c);
        if (c == '\'') out.push_back('\'');
    }
    return out;
}

}  // namespace velmora
