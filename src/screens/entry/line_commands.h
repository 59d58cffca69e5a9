#pragma once

namespace velmora {

struct EntryScreen;

// The line commands beside the grid: clear, insert and copy the previous
// line; the designated-line group (copy the marked lines here, copy them to
// the program clipboard, paste from it, clear the marks, serial numbering)
// and the numbering style. Each ends with the rows and totals redrawn, the
// scroll bar set up and the focus where the command leaves it.
class LineCommands {
public:
    explicit LineCommands(EntryScreen& screen) : m_s(screen) {}

    void ClearLine();         // btn_行クリア
    void InsertLine();        // btn_行挿入
    void CopyPrevious();      // btn_行複写
    void CopyMarked();        // btn_指定行複写
    void CopyToClipboard();   // btn_指定行コピー
    void Paste();             // btn_指定行ペースト
    void ClearMarks();        // btn_指定行クリア
    void Number();            // btn_指定行連番
    void NextNumberingStyle();  // btn_連番タイプ

private:
    EntryScreen& m_s;
};

}  // namespace velmora
