#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pricing/priced_quotation.h"

// The one quotation of a run: a header and 999 line slots, of which lines 0
// to LastLine are in use (at most 998). The screen edits it, loading fills it,
// saving writes it out; nobody keeps a copy.
namespace velmora {

inline constexpr std::size_t kLineSlots = 999;
inline constexpr int kMaxLinesInUse = 998;

struct QuotationHeader : PricedHeader {
    std::string 事業所コード;
    std::string 番号基準日付;
    std::string 営業見積No;
    std::string 参照営業見積事業所コード;
    std::string 参照営業見積番号基準日付;
    std::string 参照営業見積No;
    std::string 参照営業引合事業所コード;
    std::string 参照営業引合番号基準日付;
    std::string 参照営業引合No;
    // 営業見積日付 and 見積納期日付 live in PricedHeader; the screen shows them split.
    std::string 営業見積日付年;
    std::string 営業見積日付月;
    std::string 営業見積日付日;
    std::string 見積納期日付年;
    std::string 見積納期日付月;
    std::string 見積納期日付日;
    std::int16_t 得意先対応先区分 = 0;  // 0 customer, 1 counterparty
    std::string 得意先コード;
    std::string 得意先名称A;
    std::string 得意先名称B;
    std::string 得意先御担当者コード;
    std::string 御担当者名;
    std::string 担当者コード;
    std::string 担当者名;
    std::string 部門コード;
    std::string 部門名;
    std::string セクションコード;
    std::string セクション名;
    std::int16_t 納品先対応先区分 = 0;  // 0 delivery destination, 1 counterparty
    std::string 納品先コード;
    std::string 納品先名称A;
    std::string 納品先名称B;
    std::string タイトル;
    std::string 見積条件;
    std::string 見積納期;
    std::string 見積期限;
    std::string 見積伝票備考A;
    std::string 見積伝票備考B;
    std::int16_t 得意先名称入力区分 = 1;
    std::int16_t 納品先名称入力区分 = 1;
    std::int16_t 伝票発行区分 = 0;
    std::string 営業見積メモ;
    std::string 承認日付;
    std::string 承認者コード;
    std::string 承認区分;
    std::string ユーザID;
    std::string 登録日付;
    std::string 更新日付;

    friend bool operator==(const QuotationHeader&, const QuotationHeader&) = default;
};

struct QuotationLine : PricedLine {
    std::string 営業見積固有行No;  // "000": given once, kept while the line lives
    std::string 営業見積行No;      // position, renumbered at every save
    std::string 見積単位;
    std::int16_t 仕入先対応先区分 = 0;  // 0 supplier, 1 counterparty
    std::string 仕入先コード;
    std::string 仕入先名称A;
    std::string 仕入単位;
    std::int16_t 商品名称入力区分 = 0;
    std::int16_t 仕入先名称入力区分 = 0;
    std::string 明細メモ;
    std::string 承認日付;
    std::string 承認者コード;
    std::string 承認区分;
    std::string ユーザID;
    std::string 登録日付;
    std::string 更新日付;

    friend bool operator==(const QuotationLine&, const QuotationLine&) = default;
};

// The stored quotation as loaded; update and delete address it, not the key on screen.
struct LoadedKey {
    std::string 事業所コード;
    std::string 番号基準日付;
    std::string 営業見積No;
    std::string 営業見積日付;
    // The header row (StoredFingerprint) and line count as loaded.
    std::string storedRow;
    int storedLines = 0;
    // The stored customer: with the key, what the issuing program finds the
    // stored quotation by, whatever the screen now shows.
    std::string 得意先コード;
    bool empty() const { return 営業見積No.empty() && 事業所コード.empty() && 番号基準日付.empty(); }

    friend bool operator==(const LoadedKey&, const LoadedKey&) = default;
};

// Save kinds and states as the screen reads them after a save.
inline constexpr std::string_view kSaveNew = "0";
inline constexpr std::string_view kSaveChange = "1";
inline constexpr std::string_view kSaveDelete = "2";

// A save or delete whose COMMIT went unanswered while the server could not
// say either whether it had stored it: what was sent, so that the next save
// or delete finds out first and nothing is stored twice.
struct UnconfirmedWrite {
    std::string kind;  // SaveKind
    // The key written (the loaded key for a delete), and the history row of
    // the write: the black row of a save, the red row of a delete.
    std::string office, baseDate, number, historyNo;
    std::vector<std::optional<std::string>> header;  // the header's values as sent
    int maxUniqueLineNo = 0;
};

struct Quotation {
    QuotationHeader header;
    std::vector<QuotationLine> lines = std::vector<QuotationLine>(kLineSlots);
    int LastLine = -1;
    LoadedKey loadedKey;

    std::string NewHistoryNo;
    std::string OldHistoryNo;
    std::string SaveKind;
    int SaveStatus = 0;
    std::string SaveMessage;
    int MaxUniqueLineNo = 0;
    std::string LoadNotice;
    std::string SummaryDate;
    std::optional<UnconfirmedWrite> unconfirmed;
    // True until a stored quotation with lines is loaded: the save then takes
    // the new path. A stored header without lines is saved again as new.
    bool NewEntry = true;
    // Office + base date + number of the new quotation saved in a run started
    // by a command line: what the program replies to the one that started it.
    std::string SavedKey;

    // Clear to new mode: header defaults, every slot cleared, no lines, not
    // loaded. Key and number are then set by numbering.
    void ClearToNew();
    void ClearLine(std::size_t index) { lines[index] = QuotationLine(); }
    bool loaded() const { return !loadedKey.empty(); }

    // Lines 0 to LastLine as pricing sees them.
    PricedLines linesInUse() { return PricedLines(lines.data(), static_cast<std::size_t>(LastLine + 1)); }
};

// The three date texts of "yyyymmdd" (empty parts for a short text).
void SplitDate(const std::string& date, std::string& year, std::string& month, std::string& day);

}  // namespace velmora
