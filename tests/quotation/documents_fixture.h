#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/data_access.h"
#include "quotation/document_host.h"
#include "quotation/document_scope.h"
#include "quotation/quotation_context.h"
#include "quotation/quotation_model.h"
#include "support/databases.h"
#include "support/scripted_prompts.h"

namespace velmora::test {

using Texts = std::vector<std::string>;

// The program's side of a save: the reply information it is handed and a
// session restart that closes and reopens both connections, as the end
// routine and the start-up checks do.
class RecordingSession : public ProgramSession {
public:
    RecordingSession(DataAccess& access, std::string config, std::string data)
        : m_access(access), m_config(std::move(config)), m_data(std::move(data)) {}
    void SetReplyInformation(const std::string& endInformation) override {
        events.push_back("reply " + endInformation);
    }
    bool RestartSession() override {
        events.push_back("restart");
        m_access.CloseConnections();
        return m_access.OpenConfigConnection(m_config) && m_access.OpenDataConnection(m_data);
    }
    std::vector<std::string> events;

private:
    DataAccess& m_access;
    std::string m_config;
    std::string m_data;
};

// A business database with the numbering schemes (quotations and inquiries
// per fiscal year closing 3/31, the view log per day), the tax rates and a
// few masters, on one engine; the quotation and its document operations.
class DocumentsTest : public testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    // The PostgreSQL server of the business database; empty: the test server.
    virtual std::string postgresSource() const { return {}; }

    DataAccess& access() { return dbs->access(); }
    // A new quotation dated `date` with `lines` ordinary lines named "品目<i>".
    void fillNew(const std::string& date, int lines, const std::string& title = "件名");
    void setLines(int lines, const std::string& prefix);
    // Saves and expects the rows to be stored.
    void saveOk();
    // Opens the stored quotation and expects it there.
    void open(const std::string& baseDate, const std::string& number);

    long long count(const std::string& tableAndWhere) { return dbs->countBusiness(tableAndWhere); }
    std::string value(const std::string& sql, const std::string& column);
    // The named columns of every row `sql` returns, joined by spaces.
    std::vector<std::string> rows(const std::string& sql, std::initializer_list<const char*> names);
    void exec(const std::string& sql) { ASSERT_TRUE(access().ExecuteData(sql)) << sql; }
    // A sales activity of staff 00012 at `start` naming the quotation.
    void addActivity(const std::string& start, const std::string& office, const std::string& baseDate,
                     const std::string& number);

    std::unique_ptr<Databases> dbs;
    QuotationContext context;
    Quotation quotation;
    ScriptedPrompts prompts;
    std::unique_ptr<DocumentScope> scope;
    std::unique_ptr<RecordingSession> session;
};

// "2025-03-31" fiscal year base dates used throughout.
inline constexpr const char* kFy2024 = "20250331";
inline constexpr const char* kFy2025 = "20260331";

}  // namespace velmora::test
