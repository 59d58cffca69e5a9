#include "screens/entry/print_commands.h"

#include "app/program.h"
#include "app/sign_in.h"
#include "data/sql_text.h"
#include "linking/linked_start.h"
#include "screens/entry/detail_pages.h"
#include "screens/entry/entry_screen.h"
#include "screens/entry/focus_rules.h"

namespace velmora {

namespace {

constexpr const char* kIssuingProgram = "Orvessa";
constexpr const char* kEnvelopeProgram = "Kasmeri";
constexpr const char* kFormKind = "21";
// The envelope follows the quotation by about ten seconds, so the issuing
// program has the printer first; the attachment list is read again once the
// issuing program has had time to register its PDF (and once more later).
constexpr int kEnvelopeDelay = 10000;
constexpr int kAttachmentRebuild = 2010;
constexpr int kAttachmentLateRebuild = 8000;
constexpr const char* kNotStored = "登録されていない見積は印刷できません。登録してから操作してください。";
constexpr const char* kUnsavedChanges = "修正中の内容は登録されていないため反映されません。\n";

// Left-aligned in width characters, blank-padded and cut.
std::string Fixed(const std::string& text, std::size_t width) {
    std::string t = text.substr(0, std::min(text.size(), width));
    return t + std::string(width - t.size(), ' ');
}

}  // namespace

std::string PrintCommands::IssuingArgument(const std::string& office, char mode, const std::string& date,
                                           const std::string& number, const std::string& customer,
                                           bool purchaseView) {
    const std::string day = Fixed(date, 8), no = Fixed(number, 8), code = Fixed(customer, 6);
    return Fixed(office, 3) + mode + day + day + no + no + code + code + kFormKind + (purchaseView ? "1" : "0");
}

std::string PrintCommands::EnvelopeArgument(const std::string& office, const std::string& customer) {
    const std::string code = Fixed(customer, 6);
    return Fixed(office, 3) + "0" + code + code + "00000" + "99999" + "01" + "99" + "00" + "99" + "   " + "999" +
           "      " + "ﾝﾝﾝﾝﾝﾝ" + "0" + "2";
}

bool PrintCommands::start(const std::string& program, const std::string& argument, const std::string& missing) {
    if (StartSibling(m_s.program.session().layout.ProgramFolder, program, argument)) return true;
    if (m_s.view && !missing.empty()) m_s.view->ShowMessage(missing);
    return false;
}

bool PrintCommands::issue(int operation, const char* question, char mode) {
    EntryView* view = m_s.view;
    if (!view || !m_s.Permitted(operation)) return false;
    // The issuing program prints what is stored: a quotation never stored
    // has nothing to print, and pending changes are not on the paper.
    if (m_s.state.NewEntry || !m_s.quotation.loaded()) {
        view->ShowMessage(kNotStored);
        m_s.focus->FocusCurrentField();
        return false;
    }
    const std::string asked = (m_s.state.Changed ? std::string(kUnsavedChanges) : std::string()) + question;
    if (!view->AskYesNo(asked, false)) {
        m_s.focus->FocusCurrentField();
        return false;
    }
    // Every key is the stored quotation's: the issuing program looks it up
    // by all of them, and a customer or date changed on the screen would
    // name a quotation that does not exist.
    const LoadedKey& key = m_s.quotation.loadedKey;
    const bool started = start(kIssuingProgram,
                               IssuingArgument(key.事業所コード, mode, key.営業見積日付, key.営業見積No,
                                               TrimBlanks(key.得意先コード), m_s.state.DetailPage == kPagePurchase),
                               std::string(kIssuingProgram) + kProgramMissing);
    m_s.focus->FocusCurrentField();
    return started;
}

void PrintCommands::envelopeLater(const std::string& customer) {
    if (!m_s.view) return;
    const std::string office = m_s.program.session().運用事業所コード;
    m_s.RunLater(kEnvelopeDelay, [this, office, customer] {
        start(kEnvelopeProgram, EnvelopeArgument(office, customer), std::string(kEnvelopeProgram) + kProgramMissing);
    });
}

void PrintCommands::Print() {
    // The envelope goes to the customer of the printed quotation.
    const std::string customer = TrimBlanks(m_s.quotation.loadedKey.得意先コード);
    if (issue(static_cast<int>(Operation::Print), "印刷しますか?", '0') && m_s.state.Envelope) envelopeLater(customer);
}

void PrintCommands::Preview() { issue(static_cast<int>(Operation::Preview), "プレビュしますか?", '1'); }

void PrintCommands::ImageOutput() {
    if (!issue(static_cast<int>(Operation::ImageOutput), "PDFを作成しますか?", '3') || !m_s.view) return;
    for (int delay : {kAttachmentRebuild, kAttachmentLateRebuild})
        m_s.RunLater(delay, [this] {
            if (m_s.pages) m_s.pages->RebuildAttachments();
        });
}

void PrintCommands::PrintSaved() {
    const QuotationHeader& h = m_s.quotation.header;
    const std::string customer = TrimBlanks(h.得意先コード);
    if (start(kIssuingProgram,
              IssuingArgument(h.事業所コード, '0', h.営業見積日付, h.営業見積No, customer,
                              m_s.state.DetailPage == kPagePurchase),
              std::string(kIssuingProgram) + kProgramMissing) &&
        m_s.state.Envelope)
        envelopeLater(customer);
}

void PrintCommands::CustomerOrder() {
    const LoadedKey& key = m_s.quotation.loadedKey;
    if (!m_s.state.NewEntry && m_s.quotation.loaded())
        start(kCustomerOrderProgram, QuotationCopyArgument(key.事業所コード, key.番号基準日付, key.営業見積No),
              kCustomerOrderMissing);
    m_s.focus->FocusCurrentField();
}

void PrintCommands::CopyToNew() {
    const QuotationHeader& h = m_s.quotation.header;
    if (ValInteger(h.営業見積No) != 0)
        start(kQuotationProgram, QuotationCopyArgument(h.事業所コード, h.番号基準日付, h.営業見積No),
              kQuotationCopyMissing);
    m_s.focus->FocusCurrentField();
}

void PrintCommands::OpenSource() {
    const QuotationHeader& h = m_s.quotation.header;
    const std::string argument =
        ReferenceSourceArgument(h.参照営業見積事業所コード, h.参照営業見積番号基準日付, h.参照営業見積No);
    // A source that cannot be opened is not worth a message: the copy stands alone.
    if (!argument.empty()) start(kQuotationProgram, argument, "");
    m_s.focus->FocusCurrentField();
}

}  // namespace velmora
