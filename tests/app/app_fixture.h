#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/pin_dialog.h"
#include "app/program.h"
#include "support/databases.h"

namespace velmora::test {

// Records what start-up shows; the PIN dialog is answered by a script.
class RecordingHost : public StartUpHost {
public:
    std::vector<std::string> messages;
    int waitShown = 0;
    int pinDialogs = 0;
    // Drives the dialog after Load; the default cancels.
    std::function<void(PinDialog&)> pinScript = [](PinDialog& d) { d.Cancel(); };

    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void RunPinDialog(PinDialog& dialog) override;
    void ShowWait(bool visible) override { waitShown += visible ? 1 : 0; }
    void ScreenSize(int& width, int& height) override {
        width = 1920;
        height = 1080;
    }
};

// A PIN dialog view that remembers what it was told.
class RecordingPinView : public PinDialogView {
public:
    std::string caption, code, name, pin;
    bool codeEditable = true;
    bool closed = false;
    std::vector<std::string> messages;
    void SetCaption(const std::string& c) override { caption = c; }
    void SetCode(const std::string& c) override { code = c; }
    void SetName(const std::string& n) override { name = n; }
    void SetPin(const std::string& p) override { pin = p; }
    void SetCodeEditable(bool e) override { codeEditable = e; }
    void FocusCode() override {}
    void FocusPin() override {}
    void ShowMessage(const std::string& t) override { messages.push_back(t); }
    void Close() override { closed = true; }
};

// An installation tree in a temporary folder: prgbin, conf with the
// configuration database and a cipher key, report, and a business database
// on the engine with a small company: offices 000, 001, 002 and a few staff.
class TestInstallation {
public:
    explicit TestInstallation(Engine engine, const std::string& timestamp = "20261206 093015");
    bool available() const { return m_databases.available(); }

    std::string root() const { return m_root; }
    std::string programFolder() const { return m_root + "prgbin"; }
    std::string configPath() const { return m_root + "conf/usrcnfg.accdb"; }
    Databases& databases() { return m_databases; }
    // Statements on the configuration and business databases, for arranging a case.
    void config(const std::string& sql);
    void business(const std::string& sql);
    // A stored PIN under the installation's key.
    std::string encipher(const std::string& pin) const;

    ProgramEnvironment environment(const std::string& commandLine = "") const;

    // Rows of the operation log, oldest first: counter and text.
    std::vector<std::pair<std::string, std::string>> logRows();
    long long countConfig(const std::string& tableAndWhere);
    long long countBusiness(const std::string& tableAndWhere);

private:
    Databases m_databases;
    std::string m_root;
};

// A test on an installation of its own on each engine, recording what start-up shows.
class InstallationTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        m_inst = std::make_unique<TestInstallation>(GetParam());
        VELMORA_REQUIRE_DATABASE(m_inst->databases().business());
    }
    std::unique_ptr<TestInstallation> m_inst;
    RecordingHost m_host;
};

}  // namespace velmora::test
