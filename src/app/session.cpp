#include "app/session.h"

namespace velmora {

std::string ColumnText(const TextColumns& columns, const std::string& name) {
    auto it = columns.find(name);
    return it == columns.end() ? std::string() : it->second;
}

}  // namespace velmora
