#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "admin/installation.h"
#include "data/data_access.h"
#include "demo/demo_installation.h"
#include "issue/issued_quotation.h"
#include "support/test_env.h"

namespace velmora::test {

// One line of a quotation to store: an ordinary line of a demo product, or a
// subtotal line of the given kind.
struct TypedLine {
    std::int16_t kind = 1;
    std::string product;  // product code (ordinary lines)
    int quantity = 1;
    bool previousRate = false;  // taxed at the rate before the one in force
    std::string name;           // replaces the product's name when set
};
inline TypedLine ProductLine(const std::string& product, int quantity, bool previousRate = false,
                             const std::string& name = "") {
    return {1, product, quantity, previousRate, name};
}
inline TypedLine SubtotalLine(std::int16_t kind) {
    return {kind, "", 1, false, ""};
}

struct StoredKey {
    std::string office, baseDate, number, date, customer;
};

// The demo installation of the administration tool, with the programs of
// the build folder in prgbin, on an engine.
class IssueInstallation : public DemoInstallation {
  public:
    explicit IssueInstallation(Engine engine) : DemoInstallation(engine, "velmora_issue") {}
    std::string prgbin() const { return root() + "prgbin"; }
    std::string imageFolder() const { return root() + "report/image"; }
    std::string documentFolder() const { return root() + "documents"; }

    // Stores a quotation of office 001 dated `date` for the customer, priced
    // and saved by the program's own pricing and save.
    StoredKey store(const std::string& customer, const std::vector<TypedLine>& lines,
                    const std::string& date = "20261201", const std::string& remarkA = "",
                    const std::string& remarkB = "") const;
    // The quotation as the issuing program reads it.
    IssuedQuotation read(const StoredKey& key) const;

    // The product codes of the demo that are on sale, in code order.
    std::vector<std::string> products() const;
};

struct ProgramRun {
    int exitCode = -1;
    std::string out, err;
};

// Runs prgbin/Orvessa with one argument, without a display and with no
// printer to be found.
ProgramRun RunIssuer(const IssueInstallation& install, const std::string& argument);

// The fixed-width command line the entry screen writes for one quotation.
std::string CommandFor(const StoredKey& key, char mode, bool purchaseView = false);

// pdftotext -layout of one page (0: every page) and pdfinfo's page count.
std::string PdfText(const std::string& file, int page = 0);
int PdfPages(const std::string& file);
// pdffonts: one line per font, name first, then type, encoding and the embedded flag.
std::vector<std::string> PdfFonts(const std::string& file);
// The lines of a text, and the blank-separated words of a line.
std::vector<std::string> Lines(const std::string& text);
std::vector<std::string> Words(const std::string& line);
// "1,234" or "-56" as a number; nothing for other words.
std::optional<long long> Amount(const std::string& word);

// The files in a folder (names only), sorted.
std::vector<std::string> FilesIn(const std::string& folder);

}  // namespace velmora::test
