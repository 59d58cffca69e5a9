#pragma once

#include <string>

namespace velmora {

// What the screen does for the document operations: the message boxes.
class DocumentPrompts {
public:
    virtual ~DocumentPrompts() = default;
    // A notice with an OK button only.
    virtual void ShowMessage(const std::string& text) = 0;
    // A Yes/No question whose default button is No; true for Yes.
    virtual bool AskYesNo(const std::string& question) = 0;
};

// What the program does after a save: the program implements it with its
// end routine and start-up checks.
class ProgramSession {
public:
    virtual ~ProgramSession() = default;
    // The end information the program replies with to the program that
    // started it (the key of a new quotation).
    virtual void SetReplyInformation(const std::string& endInformation) = 0;
    // Ends the database session as the end of the program does (reply, end
    // row, end of use, connections closed) and runs the start-up database
    // checks again. False when the databases could not be opened again.
    virtual bool RestartSession() = 0;
};

}  // namespace velmora
