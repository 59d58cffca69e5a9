#pragma once

#include <string>

namespace velmora {

// What the entry window shows; the Qt window and the tests implement it.
class EntryView {
public:
    virtual ~EntryView() = default;
    virtual void SetWindowCaption(const std::string& caption) = 0;
    virtual void SetTitlePanel(const std::string& caption) = 0;  // prg_ttl
    virtual void SetNotice(const std::string& text) = 0;         // お知らせ
    // Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text, bool defaultNo) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace velmora
