#pragma once

#include <string>
#include <vector>

#include "quotation/document_host.h"

namespace velmora::test {

// The screen's message boxes, scripted: questions take the queued answers
// (No when none is left).
class ScriptedPrompts : public DocumentPrompts {
  public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        if (answers.empty()) return false;
        bool answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    // Everything shown, for a failure's message.
    std::string shown() const {
        std::string text;
        for (const std::string& message : messages) text += message + "\n";
        return text;
    }
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<bool> answers;
};

}  // namespace velmora::test
