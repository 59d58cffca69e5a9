#pragma once

#include <string>

namespace velmora {

struct EntryScreen;

// Printing and the buttons that start other programs for the quotation:
// print, preview and PDF output through the issuing program (with the
// envelope), the customer order, a new quotation copied from this one and
// the quotation this one was copied from.
class PrintCommands {
public:
    explicit PrintCommands(EntryScreen& screen) : m_s(screen) {}

    void Print();          // btn_印刷
    void Preview();        // btn_プレビュ
    void ImageOutput();    // btn_帳票イメージ出力
    void CustomerOrder();  // btn_Talmire
    void CopyToNew();      // btn_参照営業見積
    void OpenSource();     // btn_参照元No
    // "登録と印刷": the quotation just stored (still in the model) printed,
    // the envelope included; the caller has checked the permission.
    void PrintSaved();

    // The issuing program's argument: office, mode, the date, number and
    // customer ranges of one quotation, form kind "21" and the view ("1" for
    // the purchase side).
    static std::string IssuingArgument(const std::string& office, char mode, const std::string& date,
                                       const std::string& number, const std::string& customer, bool purchaseView);
    // The envelope program's argument for the customer.
    static std::string EnvelopeArgument(const std::string& office, const std::string& customer);

private:
    // The question, then the issuing program; false when nothing started.
    bool issue(int operation, const char* question, char mode);
    bool start(const std::string& program, const std::string& argument, const std::string& missing);
    void envelopeLater(const std::string& customer);

    EntryScreen& m_s;
};

}  // namespace velmora
