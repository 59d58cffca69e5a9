#include "screens/entry/panel_starts.h"

#include "app/program.h"
#include "data/sql_text.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/focus_rules.h"
#include "screens/entry/grid_rows.h"
#include "screens/entry/header_entry.h"
#include "text/code_pattern.h"

namespace velmora {

namespace {

// The row's panels, painted while a registration program runs for its line.
constexpr const char* kRowPanels[] = {"bak_dtla", "bak_dtlb", "bak_dtlc"};
constexpr Colour kRowRunning = Colour::Rgb(255, 128, 128);

}  // namespace

void PanelStarts::SetWindowEnabled(bool enabled) {
    if (m_s.view) m_s.view->SetWindowEnabled(enabled);
}

void PanelStarts::SetWaiting(bool waiting) { m_s.state.LinkWaiting = waiting; }

void PanelStarts::Pause(int milliseconds) {
    if (m_s.view) m_s.view->Pause(milliseconds);
}

// The wait ends with the run: a termination signal or a logout ends the
// program while the registration program is still open.
bool PanelStarts::KeepWaiting() { return !m_s.program.endRequested(); }

bool PanelStarts::finishedWaiting(const std::string& program, const LinkedResult& result) {
    if (!result.started) {
        if (m_s.view) m_s.view->ShowMessage(program + kProgramMissing);
        return false;
    }
    // The run is ending: nothing more is read or shown.
    if (m_s.program.endRequested()) return false;
    if (result.endedWithoutReply) m_notice = EndedWithoutReplyNotice(program);
    return true;
}

void PanelStarts::showNotice() {
    if (m_notice.empty()) return;
    m_s.Notice(m_notice);
    m_notice.clear();
}

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
    if (!finishedWaiting(program, result)) return true;
    if (!result.endInfo.empty() && TrimBlanks(*code).empty()) *code = FormatCode(TrimBlanks(result.endInfo), pattern);
    if (TrimBlanks(*code).empty())
        m_s.headerEntry->Redraw();
    else if (panel == "bak_得意先")
        m_s.headerEntry->RereadCustomer(program == kCustomerRegistration);
    else if (panel == "bak_御担当者")
        m_s.headerEntry->RereadContact();
    else
        m_s.headerEntry->RereadDelivery();
    showNotice();
    return true;
}

void PanelStarts::paintRow(int row, Colour colour) {
    if (!m_s.view) return;
    for (const char* panel : kRowPanels) m_s.view->SetBackColour({panel, row}, colour);
}

void PanelStarts::StartRow(const Control& panel) {
    ScreenState& st = m_s.state;
    if (st.LinkWaiting || panel.row < 0) return;
    // The row is entered as a click on its first field would enter it; on the
    // purchase page that is a field of that page.
    Control entered{"商品コード", panel.row};
    if (panel.name == "bak_dtlc") {
        entered = m_s.focus->FirstRowField(panel.row, 2);
        if (entered.empty()) entered = {"仕入数量", panel.row};
    }
    m_s.focus->Transfer(entered, false);
    if (st.Focused != entered) return;
    const int line = st.CurrentLine;
    if (line < 0 || line > m_s.LastLine()) return;
    QuotationLine& l = m_s.quotation.lines[static_cast<std::size_t>(line)];
    const QuotationHeader& h = m_s.header();
    const std::string& folder = m_s.program.session().layout.ProgramFolder;

    if (panel.name == "Lab_行No" || panel.name == "bak_dtla") {
        if (TrimBlanks(l.商品コード).empty()) return;
        const std::string argument = ProductActivityArgument(h.事業所コード, l.商品コード, m_s.quotation.SummaryDate);
        if (!StartSibling(folder, kProductActivityInquiry, argument) && m_s.view) m_s.view->ShowMessage(kInquiryMissing);
        return;
    }
    const bool product = panel.name == "bak_dtlb";
    if (!product && panel.name != "bak_dtlc") return;
    const std::string program = product ? kProductRegistration : SupplierPanelProgram(l.仕入先対応先区分 != 0);
    const std::string argument = product ? ProductPanelArgument(h.事業所コード, l.商品コード, l.商品名, l.見積単位)
                                         : SupplierPanelArgument(h.事業所コード, l.仕入先コード, l.仕入先名称A, h.担当者コード);
    paintRow(panel.row, kRowRunning);
    const LinkedResult result = LaunchLinked(m_s.program.access(), folder, program, argument, *this);
    paintRow(panel.row, Colour::Default());
    if (!finishedWaiting(program, result)) return;
    std::string& code = product ? l.商品コード : l.仕入先コード;
    const std::string returned = TrimBlanks(result.endInfo);
    // Product codes are taken as typed, supplier codes padded.
    if (!returned.empty() && TrimBlanks(code).empty()) code = product ? returned : FormatCode(returned, "000000");
    if (product)
        m_s.grid->RereadProduct(line);
    else
        m_s.grid->RereadSupplier(line);
    showNotice();
}

}  // namespace velmora
