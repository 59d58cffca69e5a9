#include "screens/entry/session_bridge.h"

namespace velmora {

QuotationContext MakeQuotationContext(const Program& program) {
    const Session& s = program.session();
    QuotationContext context;
    context.operatingOffice = s.運用事業所コード;
    context.startStaffCode = s.StartStaffCode;
    context.staffCode = s.staff.コード;
    context.staffName = s.staff.氏名;
    context.userName = s.userId;
    context.computerName = s.computerId;
    context.company = s.company;
    context.updateRunFlag = s.UpdateRunFlag;
    context.startedWithCommandLine = s.ExitAfterSave;
    context.programFolder = s.layout.ProgramFolder;
    return context;
}

LookupSession MakeLookupSession(const Session& s) {
    LookupSession lookup;
    lookup.databaseKind = s.database.db;
    lookup.operatingOfficeCode = s.運用事業所コード;
    lookup.currentOfficeCode = s.currentOfficeCode.empty() ? s.運用事業所コード : s.currentOfficeCode;
    lookup.sellingUnitPriceDecimals = s.company.売上単価少数以下桁数;
    lookup.purchaseUnitPriceDecimals = s.company.仕入単価少数以下桁数;
    return lookup;
}

void ProgramDocumentSession::SetReplyInformation(const std::string& endInformation) {
    m_program.session().linking.endInfo = endInformation;
}

bool ProgramDocumentSession::RestartSession() { return m_program.RestartSession(); }

}  // namespace velmora
