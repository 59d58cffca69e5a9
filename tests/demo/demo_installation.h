#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include "app/program.h"
#include "data/data_access.h"
#include "support/statements.h"

namespace velmora::test {

// The demo installation of the administration tool on an engine, in a
// temporary folder, with the program's clock fixed at 2026-12-06 10:00.
class DemoInstallation {
public:
    // stem: the name the PostgreSQL database is made unique from.
  explicit DemoInstallation(Engine engine, const std::string& stem = "velmora_demo");
  bool available() const { return m_available; }
  const std::string& root() const { return m_root; }
  // The program's clock is fixed at 2026-12-06 10:00, or the system's for
  // runs that meet other programs (they stamp their rows with it).
  ProgramEnvironment environment(const std::string& commandLine = "", bool systemClock = false) const;
  // Moves the fixed clock on, for the run going on and the later ones: rows
  // stamped before are then in the past.
  void AdvanceClock(std::chrono::seconds by) { *m_clockOffset += by; }

  // The installation's databases opened as a tool opens them, and
  // statements and reads on the business database through them.
  std::unique_ptr<DataAccess> open() const;
  void business(const std::string& sql) const;
  long long count(const std::string& tableAndWhere) const;
  std::string value(const std::string& sql) const;

private:
    bool m_available = false;
    TempDir m_dir;
    std::string m_root;
    std::optional<ServerDatabaseName> m_catalog;
    std::shared_ptr<std::chrono::seconds> m_clockOffset = std::make_shared<std::chrono::seconds>(0);
};

}  // namespace velmora::test
