#pragma once

#include <optional>
#include <string>
#include <vector>

#include "screens/entry/entry_view.h"
#include "screens/lookup/window_description.h"

// The entry window's fields, stated once: the presenter validates and draws
// by these tables and the Qt window builds its widgets from them, in this
// order, which is also the tab order.
namespace velmora {

enum class EntryRegion { None = 0, Header = 1, Row = 2, Tail = 3, Memo = 4 };

enum class EntryFieldKind {
    DatePart,     // year "0000", month and day "00"
    Code,         // zero-padded by pattern; product codes as typed
    Text,         // free text with a byte limit
    Rate,         // 定価掛率, two decimals
    Number,       // a line's quantity, price, amount or tax
    SettingCode,  // a one-digit code with its drop-down partner (list)
    List,         // the drop-down partner of a setting code
    Check,        // a check box
    Display,      // shown, never typed (names read from a master)
    Memo,         // multi-line text
    Sentinel,     // an invisible focus stop
};

struct EntryField {
    std::string name;
    std::string caption;  // label, or the caption of its button
    EntryFieldKind kind = EntryFieldKind::Text;
    EntryRegion region = EntryRegion::Header;
    int page = 0;                                 // row fields: 1 見積情報, 2 仕入情報
    int width = 0;                                // characters a code or date part holds
    int maxBytes = 0;                             // byte limit of a text (code page 932)
    std::string pattern;                          // FormatCode pattern of a code
    std::string partner;                          // a setting code's list, a list's code
    std::string button;                           // btn_… of its lookup or of its own action
    std::optional<LookupWindowId> lookup;         // opened by button, double-click, Ctrl
    std::optional<LookupWindowId> altLookup;      // in counterparty mode
    std::string nextFocus;                        // focus after a lookup's choice
    std::string altNextFocus;                     // for the alternative opening (商品名 double-click)
    std::optional<LookupWindowId> gestureLookup;  // a double-click or Ctrl opens another window
};

// Header fields in tab order, ending with the sentinel ヘッド終了.
const std::vector<EntryField>& HeaderFields();
// One row's fields: page 1 then page 2, each ending with its sentinel.
const std::vector<EntryField>& RowFields();
// 見積伝票備考A, 見積伝票備考B, テイル終了.
const std::vector<EntryField>& TailFields();
// The memo page: 営業見積メモ and the tax date.
const std::vector<EntryField>& MemoFields();

// Every field of the window in tab order: the header, the ten rows of page 1
// (each closed by its sentinel), the ten rows of page 2, the memo, the tail.
std::vector<Control> EntryTabOrder();

// Any field of the tables above by name; nullptr when there is none.
const EntryField* FindEntryField(const std::string& name);

struct EntryButton {
    std::string name;
    std::string caption;
    bool designatedLine = false;  // works on the marked lines (the "　指定行" group)
};
// The button row below the tail, left to right.
const std::vector<EntryButton>& CommandButtons();
// The line commands beside the grid, top to bottom.
const std::vector<EntryButton>& LineCommandButtons();
// The buttons of the attachment page, left to right.
const std::vector<EntryButton>& AttachmentButtons();

// The lists of the activity and attachment pages.
inline constexpr const char* kActivityList = "List営業活動";
inline constexpr const char* kAttachmentList = "List付属書類";
// The caption over page 2's product name column; it names the supplier
// columns while they are shown in its place.
inline constexpr const char* kPurchaseColumnCaption = "itm_ttl_仕入商品";

// The four setting codes with their lists and the code table each list is
// filled from, and the line kind list.
struct SettingList {
    std::string code;
    std::string list;
    std::string table;
    std::string where;  // extra condition, "" for none
};
const std::vector<SettingList>& SettingLists();
inline constexpr const char* kLineKindTable = "K見積行区分";

// Sentinels and the first field.
inline constexpr const char* kHeadEnd = "ヘッド終了";
inline constexpr const char* kPage1End = "頁1終了";
inline constexpr const char* kPage2End = "頁2終了";
inline constexpr const char* kTailEnd = "テイル終了";
inline constexpr const char* kFirstField = "得意先コード";

// Pages of tab_詳細.
inline constexpr int kPageSales = 0;
inline constexpr int kPagePurchase = 1;
inline constexpr int kPageActivities = 2;
inline constexpr int kPageMemo = 3;
inline constexpr int kPageAttachments = 4;

inline constexpr int kVisibleRows = 10;

}  // namespace velmora
