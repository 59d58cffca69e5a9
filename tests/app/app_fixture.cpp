#include "app_fixture.h"

#include <filesystem>

#include "data/connection_string.h"
#include "data/schema_text.h"
#include "data/sql_text.h"
#include "platform/cipher.h"

namespace velmora::test {

void RecordingHost::RunPinDialog(PinDialog& dialog) {
    ++pinDialogs;
    RecordingPinView view;
    dialog.Load(view);
    pinScript(dialog);
    messages.insert(messages.end(), view.messages.begin(), view.messages.end());
}

TestInstallation::TestInstallation(Engine engine, const std::string& timestamp) : m_databases(engine, timestamp) {
    if (!available()) return;
    namespace fs = std::filesystem;
    m_root = (m_databases.dir().path() / "eigyo").string() + "/";
    for (const char* folder : {"prgbin", "conf", "report", "manual", "users"}) fs::create_directories(m_root + folder);
    DbError error;
    auto created = CreateSqliteDatabase(configPath(), error);
    if (!created || !created->execute(std::string(ConfigSchemaSql()), error))
        throw std::runtime_error("cannot create the configuration database: " + error.description);
    Cipher::CreateKeyFile(m_root + "conf/cipher.key");

    const ScratchDatabase& db = m_databases.business();
    ConnectionParts parts = ParseConnectionString(db.connectionString());
    if (db.engine() == Engine::SQLite) {
        config("INSERT INTO データベース定義 (情報種類, db, プロバイダ名, データソース名) VALUES ('GNR', 'A', "
               "'Microsoft.ACE.OLEDB.12.0', '" + parts.dataSource + "')");
    } else {
        config("INSERT INTO データベース定義 (情報種類, db, プロバイダ名, サーバー名, データベース名, ユーザーID, パスワード) "
               "VALUES ('GNR', 'S', 'SQLOLEDB', '" + parts.dataSource + "', '" + parts.initialCatalog + "', '" +
               parts.userId + "', '')");
    }
    config("INSERT INTO 動作環境定義 (動作環境定義ID, 運用事業所コード, インストール区分, 起動担当者コード) "
           "VALUES ('001', '001', '0', '00012')");
    config("INSERT INTO Carnelo (プログラムID, 処理分類) VALUES ('Velmora', '1')");

    business("INSERT INTO Mユーザ (ID, 名称, 決算月, 決算日, 暗証番号有無, 更新実行区分, 売上単価少数以下桁数) "
             "VALUES ('0001', '株式会社ベルモラ商事', '3', '31', '0', '1', '2')");
    // Branch offices carry their own sign-in mode and update flag, as the company's.
    business("INSERT INTO M事業所 (コード, 名称, 暗証番号有無, 更新実行区分) VALUES ('000', '本社', '0', '1'), "
             "('001', '東京営業所', '0', '1'), ('002', '大阪営業所', '0', '1')");
    business("INSERT INTO M担当者 (コード, 氏名, 事業所コード, 部門コード, 在籍区分, 退社日付, ログインID, 暗証番号, "
             "処理分類1操作許可, 操作許可) VALUES "
             "('00012', '佐藤 一郎', '001', '010', '0', '', 'sato', '" + encipher("AB12") + "', '0', '0'), "
             "('00013', '鈴木 花子', '001', '010', '0', '', 'suzuki', '" + encipher("7777") + "', '1', '0'), "
             "('00014', '高橋 健', '000', '020', '1', '20261206', 'takahashi', '" + encipher("5555") + "', '0', '0'), "
             "('00015', '田中 誠', '002', '020', '1', '20261207', 'tanaka', '" + encipher("6666") + "', '0', '0')");
    business("INSERT INTO K年号区分 (区分, 名称, 開始日付) VALUES ('1', '平成', '19890108'), ('2', '令和', '20190501')");
}

void TestInstallation::config(const std::string& sql) {
    DbError error;
    auto connection = OpenConnection(ConfigConnectionString(1, configPath()), error);
    if (!connection || !connection->execute(sql, error))
        throw std::runtime_error("configuration statement failed: " + error.description + " " + sql);
}

void TestInstallation::business(const std::string& sql) {
    DbError error;
    auto connection = m_databases.business().connect();
    if (!connection || !connection->execute(sql, error))
        throw std::runtime_error("business statement failed: " + error.description + " " + sql);
}

std::string TestInstallation::encipher(const std::string& pin) const {
    return Cipher::FromKeyFile(m_root + "conf/cipher.key")->Encipher(pin);
}

ProgramEnvironment TestInstallation::environment(const std::string& commandLine) const {
    ProgramEnvironment env;
    env.programFolder = programFolder();
    env.commandLine = commandLine;
    env.userName = "sato";
    env.computerName = "PC-EIGYO01";
    env.clock = m_databases.clock().source();
    return env;
}

std::vector<std::pair<std::string, std::string>> TestInstallation::logRows() {
    DbError error;
    auto connection = OpenConnection(ConfigConnectionString(1, configPath()), error);
    std::vector<std::pair<std::string, std::string>> rows;
    auto rs = connection ? connection->query("SELECT proccounter, 摘要 FROM プログラム稼動履歴 ORDER BY proccounter", error)
                         : nullptr;
    for (; rs && !rs->eof(); rs->moveNext()) rows.emplace_back(rs->text("proccounter"), rs->text("摘要"));
    return rows;
}

long long TestInstallation::countConfig(const std::string& tableAndWhere) {
    DbError error;
    auto connection = OpenConnection(ConfigConnectionString(1, configPath()), error);
    auto rs = connection->query("SELECT COUNT(*) AS n FROM " + tableAndWhere, error);
    return rs ? rs->integer("n") : -1;
}

long long TestInstallation::countBusiness(const std::string& tableAndWhere) {
    return m_databases.countBusiness(tableAndWhere);
}

}  // namespace velmora::test
