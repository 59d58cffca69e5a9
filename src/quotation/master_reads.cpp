#include "quotation/master_reads.h"

#include <memory>
#include <optional>

#include "data/data_access.h"
#include "data/sql_text.h"
#include "text/byte_limit.h"

namespace velmora {

namespace {

constexpr std::int16_t kPerQuotation = 2;

std::string quoted(const std::string& value) {
    return "'" + QuoteSql(value) + "'";
}

// Opens the one row of a read; a failed statement is no row.
std::unique_ptr<Recordset> openRow(DataAccess& access, const std::string& sql) {
    std::unique_ptr<Recordset> rs;
    if (!access.OpenDataRecordset(rs, sql)) return nullptr;
    return rs;
}

// Copies into the header by its rule: a Null column never overwrites, an
// equal value is no change.
class HeaderCopy {
  public:
    HeaderCopy(const Recordset& row, MasterRead& result) : m_row(row), m_result(result) {}

    bool text(const char* column, std::string& target, int byteLimit = 0) {
        if (m_row.isNull(column)) return false;
        return set(target, cut(m_row.text(column), byteLimit));
    }
    // Names of the master that the user may have typed over: an empty one
    // keeps what the header has.
    bool name(const char* column, std::string& target, int byteLimit) {
        std::string value = cut(m_row.text(column), byteLimit);
        return !value.empty() && set(target, value);
    }
    // A code with the name found through a join: the name belongs to the
    // code, so one the join did not find empties the old name instead of
    // leaving another code's name beside it.
    bool codeWithName(const char* codeColumn, std::string& code, const char* nameColumn, std::string& name) {
        if (m_row.isNull(codeColumn)) return false;
        bool changed = set(code, m_row.text(codeColumn));
        return set(name, m_row.text(nameColumn)) || changed;
    }
    bool code(const char* column, std::int16_t& target) {
        if (m_row.isNull(column)) return false;
        return set(target, m_row.code(column));
    }

    template <class T>
    bool set(T& target, const T& value) {
        if (target == value) return false;
        target = value;
        m_result.copied = true;
        return true;
    }

  private:
    static std::string cut(std::string value, int byteLimit) {
        return byteLimit > 0 ? FitToBytes(value, byteLimit) : value;
    }

    const Recordset& m_row;
    MasterRead& m_result;
};

template <class Copy>
MasterRead readHeader(DataAccess& access, const std::string& sql, Copy copy) {
    MasterRead result;
    std::unique_ptr<Recordset> rs = openRow(access, sql);
    if (!rs) return result;
    result.found = true;
    HeaderCopy into(*rs, result);
    copy(*rs, into, result);
    rs->close();
    return result;
}

// A line's snapshot of a master replaces the previous one whole: a Null
// column is the field's empty value, never what the last product or
// supplier left behind.
Currency moneyOrZero(const Recordset& row, const char* column) {
    return Currency::FromScaled(row.scaled4(column).value_or(0));
}

std::string codeCondition(const std::string& table, const std::string& code) {
    return " WHERE " + table + ".コード = " + quoted(code);
}

}  // namespace

// The statements of the reads, with the code between apostrophes.
std::string CustomerReadQuery(const std::string& code, bool counterparty) {
    const std::string table = counterparty ? "M対応先" : "M得意先";
    return "SELECT " + table + ".*, M担当者.氏名 AS 担当者名, M担当者.部門コード, M担当者.セクションコード," +
           " M部門.名称 AS 部門名, Mセクション.名称 AS セクション名" +
           " FROM Mセクション RIGHT JOIN (M部門 RIGHT JOIN (M担当者 INNER JOIN " + table +
           " ON M担当者.コード = " + table + ".担当者コード)" + " ON M部門.コード = M担当者.部門コード)" +
           " ON Mセクション.コード = M担当者.セクションコード" + codeCondition(table, code) + " AND " +
           table + ".取引状況区分 <> '3'";
}

namespace {

std::string contactQuery(const std::string& customerCode, const std::string& code, bool counterparty) {
    const std::string table = counterparty ? "M対応先御担当者" : "M得意先御担当者";
    const std::string owner = counterparty ? "対応先コード" : "得意先コード";
    return "SELECT " + table + ".*" + " FROM " + table + " WHERE " + table + "." + owner + " = " +
           quoted(customerCode) + " AND " + table + ".御担当者コード = " + quoted(code);
}

}  // namespace

std::string StaffReadQuery(const std::string& code, const std::string& signedInOffice) {
    std::string sql =
        std::string("SELECT M担当者.*, M部門.名称 AS 部門名, Mセクション.名称 AS セクション名") +
        " FROM Mセクション RIGHT JOIN (M部門 RIGHT JOIN M担当者 ON M部門.コード = M担当者.部門コード) ON "
        "Mセクション.コード = M担当者.セクションコード" +
        codeCondition("M担当者", code);
    const std::string company = ZeroCode(3);
    if (signedInOffice != company)
        sql += " AND (M担当者.事業所コード = " + quoted(signedInOffice) + " OR M担当者.事業所コード = '" +
               company + "')";
    return sql + " AND M担当者.在籍区分 = '0'";
}

namespace {

std::string departmentQuery(const std::string& code) {
    return std::string("SELECT M部門.*") + " FROM M部門" + codeCondition("M部門", code);
}

std::string sectionQuery(const std::string& code) {
    return std::string("SELECT Mセクション.*") + " FROM Mセクション" + codeCondition("Mセクション", code);
}

std::string deliveryQuery(const std::string& code, bool counterparty) {
    const std::string table = counterparty ? "M対応先" : "M納品先";
    return "SELECT " + table + ".*, M担当者.氏名 AS 担当者名" + " FROM M担当者 INNER JOIN " + table +
           " ON M担当者.コード = " + table + ".担当者コード" + codeCondition(table, code) + " AND " + table +
           ".取引状況区分 <> '3'";
}

std::string productQuery(const std::string& code) {
    return std::string("SELECT M商品.*") + " FROM M商品" + codeCondition("M商品", code) +
           " AND M商品.取扱状況区分 <> '3'";
}

std::string supplierQuery(const std::string& code, bool counterparty) {
    const std::string table = counterparty ? "M対応先" : "M仕入先";
    return "SELECT " + table + ".*" + " FROM " + table + codeCondition(table, code) + " AND " + table +
           ".取引状況区分 <> '3'";
}

}  // namespace

MasterRead ReadCustomer(DataAccess& access, QuotationHeader& header, const std::string& code,
                        bool counterparty) {
    auto copy = [&](const Recordset& row, HeaderCopy& into, MasterRead& result) {
        into.text("コード", header.得意先コード);
        into.name("名称A", header.得意先名称A, kPartyNameBytes);
        into.name("名称B", header.得意先名称B, kPartyNameBytes);
        if (header.御担当者名.empty()) into.name("御担当者名", header.御担当者名, kContactNameBytes);
        into.codeWithName("担当者コード", header.担当者コード, "担当者名", header.担当者名);
        into.codeWithName("部門コード", header.部門コード, "部門名", header.部門名);
        into.codeWithName("セクションコード", header.セクションコード, "セクション名", header.セクション名);
        into.code("名称入力区分", header.得意先名称入力区分);
        if (counterparty) return;

        std::optional<std::int64_t> rate = row.scaled4("定価掛率");
        if (rate && *rate != 0) result.rateChanged = into.set(header.定価掛率, Currency::FromScaled(*rate));
        bool taxChanged = into.code("消費税区分", header.得意先消費税区分);
        if (!row.isNull("消費税算出区分")) {
            // Per billing (3) is worked out per quotation here, as a stored one is.
            std::int16_t calculation = row.code("消費税算出区分");
            if (calculation > kPerQuotation) calculation = kPerQuotation;
            taxChanged = into.set(header.得意先消費税算出区分, calculation) || taxChanged;
        }
        taxChanged = into.code("消費税丸め方法", header.得意先消費税丸め方法) || taxChanged;
        taxChanged = into.code("消費税丸め桁位置", header.得意先消費税丸め桁位置) || taxChanged;
        taxChanged = into.code("消費税端数調整区分", header.得意先消費税端数調整区分) || taxChanged;
        result.taxSettingsChanged = taxChanged;
    };
    return readHeader(access, CustomerReadQuery(code, counterparty), copy);
}

MasterRead ReadContact(DataAccess& access, QuotationHeader& header, const std::string& code,
                       bool counterparty) {
    auto copy = [&](const Recordset&, HeaderCopy& into, MasterRead&) {
        into.text("御担当者コード", header.得意先御担当者コード);
        into.text("氏名", header.御担当者名, kContactNameBytes);
    };
    return readHeader(access, contactQuery(header.得意先コード, code, counterparty), copy);
}

MasterRead ReadStaffMember(DataAccess& access, QuotationHeader& header, const std::string& code,
                           const std::string& signedInOffice) {
    auto copy = [&](const Recordset&, HeaderCopy& into, MasterRead&) {
        into.codeWithName("コード", header.担当者コード, "氏名", header.担当者名);
        into.codeWithName("部門コード", header.部門コード, "部門名", header.部門名);
        into.codeWithName("セクションコード", header.セクションコード, "セクション名", header.セクション名);
    };
    return readHeader(access, StaffReadQuery(code, signedInOffice), copy);
}

MasterRead ReadDepartment(DataAccess& access, QuotationHeader& header, const std::string& code) {
    auto copy = [&](const Recordset&, HeaderCopy& into, MasterRead&) {
        into.codeWithName("コード", header.部門コード, "名称", header.部門名);
    };
    return readHeader(access, departmentQuery(code), copy);
}

MasterRead ReadSection(DataAccess& access, QuotationHeader& header, const std::string& code) {
    auto copy = [&](const Recordset&, HeaderCopy& into, MasterRead&) {
        into.codeWithName("コード", header.セクションコード, "名称", header.セクション名);
    };
    return readHeader(access, sectionQuery(code), copy);
}

MasterRead ReadDelivery(DataAccess& access, QuotationHeader& header, const std::string& code,
                        bool counterparty) {
    auto copy = [&](const Recordset&, HeaderCopy& into, MasterRead&) {
        into.text("コード", header.納品先コード);
        into.name("名称A", header.納品先名称A, kPartyNameBytes);
        into.name("名称B", header.納品先名称B, kPartyNameBytes);
        into.code("名称入力区分", header.納品先名称入力区分);
    };
    return readHeader(access, deliveryQuery(code, counterparty), copy);
}

MasterRead ReadSupplier(DataAccess& access, QuotationLine& line, const std::string& code, bool counterparty) {
    MasterRead result;
    std::unique_ptr<Recordset> rs = openRow(access, supplierQuery(code, counterparty));
    if (!rs) {
        result.copied = !line.仕入先コード.empty();
        line.仕入先コード.clear();
        return result;
    }
    result.found = true;
    QuotationLine before = line;
    line.仕入先コード = rs->text("コード");
    line.仕入先名称A = FitToBytes(rs->text("名称A"), kSupplierNameBytes);
    line.仕入先名称入力区分 = rs->code("名称入力区分");
    if (!counterparty) {
        line.仕入先消費税区分 = rs->code("消費税区分");
        line.仕入先消費税算出区分 = rs->code("消費税算出区分");
        line.仕入先消費税丸め方法 = rs->code("消費税丸め方法");
        line.仕入先消費税丸め桁位置 = rs->code("消費税丸め桁位置");
        line.仕入先消費税端数調整区分 = rs->code("消費税端数調整区分");
    }
    rs->close();
    result.taxSettingsChanged = line.仕入先消費税区分 != before.仕入先消費税区分 ||
                                line.仕入先消費税算出区分 != before.仕入先消費税算出区分 ||
                                line.仕入先消費税丸め方法 != before.仕入先消費税丸め方法 ||
                                line.仕入先消費税丸め桁位置 != before.仕入先消費税丸め桁位置 ||
                                line.仕入先消費税端数調整区分 != before.仕入先消費税端数調整区分;
    result.copied = result.taxSettingsChanged || line.仕入先コード != before.仕入先コード ||
                    line.仕入先名称A != before.仕入先名称A ||
                    line.仕入先名称入力区分 != before.仕入先名称入力区分;
    return result;
}

ProductRead ReadProduct(DataAccess& access, QuotationLine& line, const std::string& code) {
    ProductRead result;
    std::unique_ptr<Recordset> rs = openRow(access, productQuery(code));
    if (!rs) {
        line.商品コード.clear();
        return result;
    }
    result.found = true;
    const Recordset& row = *rs;
    line.商品コード = row.text("コード");
    line.商品名 = FitToBytes(row.text("名称A") + row.text("名称B"), kProductNameBytes);
    line.見積単位 = FitToBytes(row.text("単位"), kUnitBytes);
    line.商品売上課税区分 = row.code("売上課税区分");
    line.商品売上消費税区分 = row.code("売上消費税区分");
    line.商品仕入課税区分 = row.code("仕入課税区分");
    line.商品仕入消費税区分 = row.code("仕入消費税区分");
    line.商品税抜販売定価 = moneyOrZero(row, "税抜販売定価");
    line.商品税込販売定価 = moneyOrZero(row, "税込販売定価");
    line.商品税抜販売単価 = moneyOrZero(row, "税抜販売単価");
    line.商品税込販売単価 = moneyOrZero(row, "税込販売単価");
    line.商品税抜仕入単価 = moneyOrZero(row, "税抜仕入単価");
    line.商品税込仕入単価 = moneyOrZero(row, "税込仕入単価");
    const std::string supplierCode = row.text("仕入先コード");
    rs->close();

    // The product master names suppliers of M仕入先, whatever the line's
    // switch said before.
    if (!supplierCode.empty()) {
        line.仕入先対応先区分 = 0;
        result.supplierNotFound = !ReadSupplier(access, line, supplierCode, false).found;
    }
    return result;
}

}  // namespace velmora
