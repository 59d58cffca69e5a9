#pragma once

#include "app/program.h"
#include "quotation/document_host.h"
#include "quotation/quotation_context.h"
#include "screens/lookup/lookup_session.h"

namespace velmora {

// The session values set at start-up, as the document operations and the
// lookup windows read them.
QuotationContext MakeQuotationContext(const Program& program);
LookupSession MakeLookupSession(const Session& session);

// What a save asks of the program: the key it replies with, and the session
// restart after a save whose notice went to the configuration database.
class ProgramDocumentSession : public ProgramSession {
public:
    explicit ProgramDocumentSession(Program& program) : m_program(program) {}
    void SetReplyInformation(const std::string& endInformation) override;
    bool RestartSession() override;

private:
    Program& m_program;
};

}  // namespace velmora
