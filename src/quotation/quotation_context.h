#pragma once

#include <string>

#include "pricing/company_settings.h"

namespace velmora {

// The session values the document operations read, as plain values. The
// program fills it at start-up; nothing here reaches back into the program.
struct QuotationContext {
    std::string operatingOffice;  // 運用事業所コード: numbers the view log
    std::string startStaffCode;   // 起動担当者コード: part of ユーザID
    std::string staffCode;        // the signed-in staff member, for the view log
    std::string staffName;
    std::string userName;      // login name
    std::string computerName;  // host name
    CompanySettings company;
    // 更新実行区分 of the company, or of the operating office when it has its own:
    // 1 the notices go to the business database; 0 they go to the configuration
    // database and the update program is started after the save.
    int updateRunFlag = 0;
    bool startedWithCommandLine = false;  // a new quotation's key is replied to the starter
    std::string programFolder;            // where the update program lives

    // ユーザID of every row a save writes: login name, staff code and host name
    // joined without separators.
    std::string UserId() const { return userName + startStaffCode + computerName; }
};

}  // namespace velmora
