#pragma once

#include <string>

#include "data/data_access.h"

namespace velmora {

// One row of the program clipboard: a copied document line.
struct ClipboardRow {
    std::string pasteProgram;  // 貼付プログラムID
    std::string sequence;      // 貼付連番, "000"
    std::string kind;          // 貼付情報区分, "1" for document lines
    std::string numberId;      // 伝票番号ID
    std::string officeCode;    // 伝票事業所コード
    std::string baseDate;      // 伝票番号基準日付
    std::string number;        // 伝票No
    std::string uniqueLineNo;  // 伝票固有行No
    std::string extra;         // 伝票付加情報
    std::string baseKind;      // 基本情報区分
    std::string baseCode;      // 基本情報コード
    std::string baseLineCode;  // 基本情報明細コード
    std::string baseExtra;     // 基本付加情報
};

void CopyToClipboard(DataAccess& access, const ClipboardRow& row);

// Where the latest copy for the program came from (rows of every user count).
struct ClipboardOrigin {
    std::string officeCode;
    std::string baseDate;
    std::string number;
    std::string extra;
};
bool ClipboardSource(DataAccess& access, const std::string& pasteProgram, const std::string& numberId,
                     ClipboardOrigin& origin);

// Removes the current user's rows for the program.
void ClearClipboard(DataAccess& access, const std::string& pasteProgram);

}  // namespace velmora
