// The translation of statements into each engine's dialect, and the text
// rules statements are built with (quoting, Val). The input is the statement.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "data/dialect.h"
#include "data/sql_text.h"
#include "fuzz_support.h"

namespace velmora::fuzz {
namespace {

bool IsWordByte(unsigned char c) {
    return std::isalnum(c) || c == '_' || c >= 0x80;
}

struct Word {
    std::string text;          // upper-cased
    bool afterBlanks = false;  // only white space since the word before
};

// The words of text outside literals.
std::vector<Word> Words(std::string_view outside) {
    std::vector<Word> words;
    bool blanksOnly = false;
    std::size_t i = 0;
    while (i < outside.size()) {
        if (!IsWordByte(static_cast<unsigned char>(outside[i]))) {
            blanksOnly = blanksOnly && std::isspace(static_cast<unsigned char>(outside[i]));
            ++i;
            continue;
        }
        Word word{{}, blanksOnly};
        for (; i < outside.size() && IsWordByte(static_cast<unsigned char>(outside[i])); ++i)
            word.text += static_cast<char>(std::toupper(static_cast<unsigned char>(outside[i])));
        words.push_back(word);
        blanksOnly = true;
    }
    return words;
}

long Count(const std::vector<Word>& words, std::string_view word) {
    return std::count_if(words.begin(), words.end(), [&](const Word& w) { return w.text == word; });
}

// The words a translation may not change, with those it rewrites made
// alike: TOP and LIMIT left out with the number right after them (the count
// moves from one to the other), and ESCAPE (PostgreSQL's patterns gain one),
// RIGHT as LEFT (the joins turned round), LIKE as ILIKE.
std::vector<std::string> KeptWords(const std::vector<Word>& words, bool ordered) {
    std::vector<std::string> kept;
    bool afterKeyword = false;
    for (const Word& w : words) {
        const bool count =
            afterKeyword && w.afterBlanks && w.text.find_first_not_of("0123456789") == std::string::npos;
        afterKeyword = w.text == "TOP" || w.text == "LIMIT";
        if (count || afterKeyword || w.text == "ESCAPE") continue;
        kept.push_back(w.text == "RIGHT" ? "LEFT" : w.text == "LIKE" ? "ILIKE" : w.text);
    }
    if (!ordered) std::sort(kept.begin(), kept.end());
    return kept;
}

std::vector<std::string> NonEmpty(const std::vector<std::string>& quoted, bool ordered) {
    std::vector<std::string> out;
    for (const auto& q : quoted)
        if (q != "''") out.push_back(q);
    if (!ordered) std::sort(out.begin(), out.end());
    return out;
}

void CheckTranslation(const std::string& sql, EngineKind engine) {
    const std::string out = TranslateSql(sql, engine);
    const SqlPieces in = SplitSql(sql, true);
    if (!in.closed) return;  // an open literal runs to the end: nothing to keep apart
    const SqlPieces got = SplitSql(out, true);
    const bool postgres = engine == EngineKind::PostgreSQL;
    // SQLite turns RIGHT JOINs round, which moves whole operands with their
    // literals; PostgreSQL keeps everything in place.
    const bool ordered = postgres;
    // Words are compared where no word is glued or split on purpose: brackets
    // dropped on PostgreSQL join the words on either side ("TO[P]"), and the
    // count after TOP is read up to the first character that is not a digit
    // ("TOP 5AS").
    const auto inputWords = Words(in.outside);
    const bool wordsKept = (!postgres || in.outside.find_first_of("[]") == std::string::npos) &&
                           std::none_of(inputWords.begin(), inputWords.end(), [](const Word& w) {
                               return std::isdigit(static_cast<unsigned char>(w.text[0])) &&
                                      w.text.find_first_not_of("0123456789") != std::string::npos;
                           });

    Check(got.closed, "literals stay closed", out);
    Check(NonEmpty(got.quoted, ordered) == NonEmpty(in.quoted, ordered),
          "literals and quoted names are kept whole", out);
    if (postgres) {
        Check(got.quoted.size() >= in.quoted.size(), "only empty escape literals are added", out);
        Check(got.outside.find_first_of("[]") == std::string::npos, "no brackets are left outside literals",
              out);
    } else {
        Check(got.quoted.size() == in.quoted.size(), "no literal is added on SQLite", out);
    }
    Check(std::count(got.outside.begin(), got.outside.end(), '(') ==
                  std::count(in.outside.begin(), in.outside.end(), '(') &&
              std::count(got.outside.begin(), got.outside.end(), ')') ==
                  std::count(in.outside.begin(), in.outside.end(), ')'),
          "parentheses are neither added nor dropped", out);
    if (wordsKept) {
        const auto& before = inputWords;
        const auto after = Words(got.outside);
        Check(KeptWords(after, ordered) == KeptWords(before, ordered),
              "no other word is added, dropped or changed", out);
        const long topsTaken = Count(before, "TOP") - Count(after, "TOP");
        Check(topsTaken >= 0, "TOP is never added", out);
        Check(Count(after, "LIMIT") - Count(before, "LIMIT") == topsTaken, "each TOP taken is one LIMIT",
              out);
        // A pattern with ASCII letters is matched with ILIKE (SQLite folds
        // them); one without stays LIKE, which finds the same rows.
        if (postgres)
            Check(Count(after, "LIKE") + Count(after, "ILIKE") == Count(before, "LIKE") + Count(before, "ILIKE") &&
                      Count(after, "ILIKE") >= Count(before, "ILIKE"),
                  "each LIKE stays LIKE or becomes ILIKE", out);
        Check(Count(after, "ESCAPE") >= Count(before, "ESCAPE"), "no ESCAPE is dropped", out);
        if (!postgres) Check(Count(after, "RIGHT") <= Count(before, "RIGHT"), "no RIGHT JOIN is made", out);

        const bool rewrites =
            Count(before, "TOP") > 0 || (postgres ? Count(before, "LIKE") > 0 : Count(before, "RIGHT") > 0);
        if (!rewrites) Check(out == sql, "nothing else is rewritten", out);
    }
}

void CheckQuoting(const std::string& text) {
    const std::string literal = "'" + QuoteSql(text) + "'";
    const SqlPieces pieces = SplitSql(literal, false);
    Check(pieces.closed && pieces.quoted.size() == 1 && pieces.outside == "?", "a quoted text is one literal",
          literal);
    std::string value;
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
        value += literal[i];
        if (literal[i] == '\'') ++i;
    }
    Check(value == TrimRight(text), "the literal reads back as the text without trailing blanks", value);
}

void CheckVal(const std::string& text) {
    const std::int64_t value = ValInteger(text);
    const std::int16_t code = ValCode(text);
    Check(code == std::clamp<std::int64_t>(value, std::numeric_limits<std::int16_t>::min(),
                                           std::numeric_limits<std::int16_t>::max()),
          "ValCode is Val held to 16 bits");
    if (text.size() >= 1 && text.size() <= 17 && text.find_first_not_of("0123456789") == std::string::npos)
        Check(ValInteger(text) == std::stoll(text) && ValInteger("-" + text) == -std::stoll(text),
              "digits read as their number", text);
}

}  // namespace
}  // namespace velmora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::fuzz;
    const std::string sql(reinterpret_cast<const char*>(data), size);
    CheckTranslation(sql, velmora::EngineKind::SQLite);
    CheckTranslation(sql, velmora::EngineKind::PostgreSQL);
    CheckQuoting(sql);
    CheckVal(sql);
    return 0;
}
