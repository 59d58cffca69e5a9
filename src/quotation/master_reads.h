#pragma once

#include <string>

#include "quotation/quotation_model.h"

// The master reads behind the entry screen's code fields: the code, already
// padded to its width, names one master row, whose columns are copied into
// the header or into a line. Each read opens one recordset, copies, closes.
// A failed statement counts as not found; the data layer has logged it.
namespace velmora {

class DataAccess;

// The statements of the customer (or counterparty) and staff reads.
std::string CustomerReadQuery(const std::string& code, bool counterparty);
std::string StaffReadQuery(const std::string& code, const std::string& signedInOffice);

// Byte limits of the fields a read writes names into; the screen's fields
// have the same limits, so a name taken from a master never overflows them.
inline constexpr int kPartyNameBytes = 40;     // 得意先名称A/B, 納品先名称A/B
inline constexpr int kContactNameBytes = 30;   // 御担当者名
inline constexpr int kProductNameBytes = 60;   // a line's 商品名
inline constexpr int kUnitBytes = 8;           // 見積単位, 仕入単位
inline constexpr int kSupplierNameBytes = 40;  // a line's 仕入先名称A

struct MasterRead {
    bool found = false;
    // Some value of the header or line changed: the screen sets Changed.
    bool copied = false;
    // Customer reads: the tax kind, calculation or rounding settings changed.
    // Supplier reads: the supplier's tax settings, which price the purchase side.
    bool taxSettingsChanged = false;
    // Customer reads: 定価掛率 changed.
    bool rateChanged = false;
};

// Header reads. Not found leaves the header as it was. A column is copied
// only when it is not Null and differs from the header's value; names are
// cut to their field's byte limit. The names of the staff member,
// department and section go with their codes: a code taken brings its name,
// an empty one when the master has none, so no name of another code stays.
//
// Customer (M得意先) or, in counterparty mode, M対応先; rows whose staff
// member does not exist are not found. The counterparty leaves the rate and
// the tax settings alone.
MasterRead ReadCustomer(DataAccess& access, QuotationHeader& header, const std::string& code,
                        bool counterparty);
// A contact of the header's customer (or counterparty).
MasterRead ReadContact(DataAccess& access, QuotationHeader& header, const std::string& code,
                       bool counterparty);
// An active staff member of the signed-in office or of the company ("000").
MasterRead ReadStaffMember(DataAccess& access, QuotationHeader& header, const std::string& code,
                           const std::string& signedInOffice);
MasterRead ReadDepartment(DataAccess& access, QuotationHeader& header, const std::string& code);
MasterRead ReadSection(DataAccess& access, QuotationHeader& header, const std::string& code);
// A delivery destination (M納品先) or, in counterparty mode, M対応先.
MasterRead ReadDelivery(DataAccess& access, QuotationHeader& header, const std::string& code,
                        bool counterparty);

struct ProductRead {
    bool found = false;
    // The product names a supplier that is not (or no longer) active: the
    // line's 仕入先コード was emptied; the screen says so as for a typed one.
    bool supplierNotFound = false;
};

// A product into a line: code, name (名称A followed by 名称B), unit (into
// 見積単位) and the product snapshot of tax settings and prices, which
// replaces the previous product's whole (a Null column gives 0). A product
// tied to a supplier takes that supplier (as a supplier, not a counterparty)
// with its settings; one tied to none leaves the line's supplier as chosen.
// Not found: the line's 商品コード is emptied, nothing else changes.
// Pricing is the caller's: QuotationPricing::ProductEntered.
ProductRead ReadProduct(DataAccess& access, QuotationLine& line, const std::string& code);

// A supplier (M仕入先: code, name, tax settings, name-entry flag; Null
// settings give 0) or, in counterparty mode, M対応先 (code, name, name-entry
// flag only). Not found: the line's 仕入先コード is emptied.
MasterRead ReadSupplier(DataAccess& access, QuotationLine& line, const std::string& code, bool counterparty);

}  // namespace velmora
