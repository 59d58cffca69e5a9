#include "screens/entry/panel_starts.h"

#include "app/program.h"
#include "data/sql_text.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/header_entry.h"
#include "text/code_pattern.h"

namespace velmora {

void PanelStarts::SetWindowEnabled(bool enabled) {
    if (m_s.view) m_s.view->SetWindowEnabled(enabled);
}

void PanelStarts::SetWaiting(bool waiting) { m_s.state.LinkWaiting = waiting; }

void PanelStarts::Pause(int milliseconds) {
    if (m_s.view) m_s.view->Pause(milliseconds);
}

// The wait ends with the run: a termination signal ends the program while
// the registration program is still open.
bool PanelStarts::KeepWaiting() { return !m_s.program.ended(); }

bool PanelStarts::Start(const std::string& panel) {
    if (m_s.state.LinkWaiting) return true;
    QuotationHeader& h = m_s.header();
    std::string program, argument;
    std::string* code = nullptr;
    const char* pattern = "000000";
    if (panel == "bak_得意先") {
        const bool counterparty = h.得意先対応先区分 != 0;
        program = CustomerPanelProgram(counterparty);
        argument = CustomerPanelArgument(h.事業所コード, h.得意先コード, h.得意先名称A, h.得意先名称B, h.御担当者名,
                                         h.担当者コード);
        code = &h.得意先コード;
    } else if (panel == "bak_御担当者") {
        program = ContactPanelProgram(h.得意先対応先区分 != 0);
        argument = ContactPanelArgument(h.事業所コード, h.得意先コード, h.得意先御担当者コード, h.御担当者名);
        code = &h.得意先御担当者コード;
        pattern = "00000";
    } else if (panel == "bak_納品先") {
        program = DeliveryPanelProgram(h.納品先対応先区分 != 0);
        argument = DeliveryPanelArgument(h.事業所コード, h.納品先コード, h.納品先名称A, h.納品先名称B, h.担当者コード);
        code = &h.納品先コード;
    } else {
        return false;
    }
    const LinkedResult result =
        LaunchLinked(m_s.program.access(), m_s.program.session().layout.ProgramFolder, program, argument, *this);
    if (!result.started) {
        if (m_s.view) m_s.view->ShowMessage(program + kProgramMissing);
        return true;
    }
    if (!result.endInfo.empty() && TrimBlanks(*code).empty()) *code = FormatCode(TrimBlanks(result.endInfo), pattern);
    if (TrimBlanks(*code).empty()) {
        m_s.headerEntry->Redraw();
        return true;
    }
    if (panel == "bak_得意先")
        m_s.headerEntry->RereadCustomer(program == kCustomerRegistration);
    else if (panel == "bak_御担当者")
        m_s.headerEntry->RereadContact();
    else
        m_s.headerEntry->RereadDelivery();
    return true;
}

}  // namespace velmora
