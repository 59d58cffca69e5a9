#pragma once

#include <string>

#include "app/session.h"
#include "data/data_access.h"

namespace velmora {

class Cipher;

// What the PIN dialog shows; the Qt dialog and the tests implement it.
class PinDialogView {
public:
    virtual ~PinDialogView() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetCode(const std::string& code) = 0;
    virtual void SetName(const std::string& name) = 0;
    virtual void SetPin(const std::string& pin) = 0;
    virtual void SetCodeEditable(bool editable) = 0;
    virtual void FocusCode() = 0;
    virtual void FocusPin() = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void Close() = 0;
};

// The staff sign-in dialog (msg暗証番号確認): a code, the staff member's name
// and a masked PIN. A staff member whose login ID is the user's name only
// types the PIN.
class PinDialog {
public:
    PinDialog(DataAccess& access, Session& session, const Cipher* cipher);

    void Load(PinDialogView& view);
    void CodeLeft(const std::string& typed);
    void Ok(const std::string& pin);
    void Cancel();

    bool closed() const { return m_closed; }
    const std::string& code() const { return m_code; }

private:
    bool readActiveStaff(const std::string& where);
    void setStartStaff(const std::string& code);

    DataAccess& m_access;
    Session& m_session;
    const Cipher* m_cipher;
    PinDialogView* m_view = nullptr;
    std::string m_code;
    std::string m_staffPin;
    bool m_closed = false;
};

}  // namespace velmora
