#pragma once

#include <string>

namespace velmora {

// Rewrites every "A RIGHT JOIN B ON c" of a FROM clause as the equivalent
// "B LEFT JOIN A ON c". The suite writes its reads with the document or
// master on the right, and SQLite plans such a join by materialising the
// parenthesised side and scanning it once per row of the other: a read by
// key became a scan of every stored quotation. With the operands swapped
// the keyed table leads and its index is used. Rows and columns are the
// same; only the written order of the joins changes. A FROM clause that
// cannot be read as joins of names and parenthesised joins is left as it is,
// and literals are never touched.
std::string LeadWithRightJoinedTables(const std::string& sql);

}  // namespace velmora
