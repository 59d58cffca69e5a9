#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "pricing/currency.h"

// The figures of a quotation that pricing reads and writes. The record model
// builds its header and line slots on these, so pricing needs nothing else of
// a quotation and the model needs no second copy of the figures.
namespace velmora {

// Line kinds (行区分).
inline constexpr std::int16_t kLineUnset = 0;
inline constexpr std::int16_t kLineOrdinary = 1;
inline constexpr std::int16_t kLineSubtotal = 2;     // 小計
inline constexpr std::int16_t kLineMiddleTotal = 3;  // 中計
inline constexpr std::int16_t kLineLargeTotal = 4;   // 大計
inline constexpr std::int16_t kLineGrandTotal = 5;   // 合計

struct PricedLine {
    std::int16_t 行区分 = kLineOrdinary;
    // A cleared slot is an ordinary line that counts, like any line whose
    // kind is set to ordinary.
    std::int16_t 計区分 = 1;
    std::string 商品コード;
    std::string 商品名;

    Currency 見積数量;
    Currency 見積単価;
    Currency 見積金額;
    Currency 見積消費税;
    std::int16_t 売上課税区分 = 0;
    std::int16_t 売上消費税区分 = 0;

    Currency 仕入数量;
    Currency 仕入単価;
    Currency 仕入金額;
    Currency 仕入消費税;
    std::int16_t 仕入課税区分 = 0;
    std::int16_t 仕入消費税区分 = 0;

    // The product as taken when its code was entered.
    std::int16_t 商品売上課税区分 = 0;
    std::int16_t 商品売上消費税区分 = 0;  // 0: the customer's kind applies
    std::int16_t 商品仕入課税区分 = 0;
    std::int16_t 商品仕入消費税区分 = 0;
    Currency 商品税抜販売定価;
    Currency 商品税込販売定価;
    Currency 商品税抜販売単価;
    Currency 商品税込販売単価;
    Currency 商品税抜仕入単価;
    Currency 商品税込仕入単価;

    // The supplier as taken; its rounding prices the purchase side.
    std::int16_t 仕入先消費税区分 = 0;
    std::int16_t 仕入先消費税算出区分 = 0;
    std::int16_t 仕入先消費税丸め方法 = 0;
    std::int16_t 仕入先消費税丸め桁位置 = 0;
    std::int16_t 仕入先消費税端数調整区分 = 0;

    // Set when pricing changed a figure the user had not typed (a typed unit
    // price, a conversion to the customer's tax kind); the screen redraws it.
    bool changed = false;

    // Amounts and taxes typed by hand, which the grid draws in their own
    // colours. Not stored: they live with the line on the screen and move
    // with it; a recomputation of the figure clears its mark.
    bool sellingAmountTyped = false;
    bool sellingTaxTyped = false;
    bool purchaseAmountTyped = false;
    bool purchaseTaxTyped = false;

    friend bool operator==(const PricedLine&, const PricedLine&) = default;
};

// Amounts of the counted lines by how their tax is worked out; not stored.
struct TaxBaseSums {
    Currency addedAtRate;             // category 0, kind 1
    Currency includedAtRate;          // category 0, kind 2
    Currency addedAtPreviousRate;     // category 2, kind 1
    Currency includedAtPreviousRate;  // category 2, kind 2
    Currency notTaxable;              // category 1

    friend bool operator==(const TaxBaseSums&, const TaxBaseSums&) = default;
};

struct PricedHeader {
    std::string 営業見積日付;
    std::string 見積納期日付;  // the tax date; empty means the quotation date
    Currency 定価掛率;         // percent of the list price; 0 switches it off
    std::int16_t 消費税表示区分 = 1;
    std::int16_t 合計表示区分 = 1;

    std::int16_t 得意先消費税区分 = 1;
    std::int16_t 得意先消費税算出区分 = 2;
    std::int16_t 得意先消費税丸め方法 = 0;
    std::int16_t 得意先消費税丸め桁位置 = 0;
    std::int16_t 得意先消費税端数調整区分 = 0;

    Currency 見積数量合計;
    Currency 見積金額合計;
    Currency 税抜見積金額合計;
    Currency 見積消費税合計;
    Currency 税込見積金額合計;
    Currency 仕入数量合計;
    Currency 仕入金額合計;
    Currency 税抜仕入金額合計;
    Currency 仕入消費税合計;
    Currency 税込仕入金額合計;

    TaxBaseSums sellingSums;
    TaxBaseSums purchaseSums;
    Currency DocTax;

    const std::string& TaxDate() const { return 見積納期日付.empty() ? 営業見積日付 : 見積納期日付; }

    friend bool operator==(const PricedHeader&, const PricedHeader&) = default;
};

// The lines 0 to LastLine of a quotation, whatever slot type holds them.
class PricedLines {
public:
    PricedLines() = default;
    // Not "slots": a file that includes Qt's headers first would lose the word.
    template <class Slot>
    PricedLines(Slot* first, std::size_t count)
        : m_slots(first), m_count(count), m_at([](void* base, std::size_t i) -> PricedLine& {
              return static_cast<Slot*>(base)[i];
          }) {}

    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    PricedLine& operator[](std::size_t i) const { return m_at(m_slots, i); }

private:
    void* m_slots = nullptr;
    std::size_t m_count = 0;
    PricedLine& (*m_at)(void*, std::size_t) = nullptr;
};

}  // namespace velmora
