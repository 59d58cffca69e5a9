#include "screens/lookup/window_description.h"

#include <array>
#include <stdexcept>

#include "screens/lookup/window_catalog.h"

namespace velmora {

namespace {

const std::array<WindowDescription, kLookupWindowCount>& Catalog() {
    static const std::array<WindowDescription, kLookupWindowCount> catalog = [] {
        std::array<WindowDescription, kLookupWindowCount> all;
        std::array<bool, kLookupWindowCount> seen{};
        auto place = [&](std::vector<WindowDescription> windows) {
            for (auto& w : windows) {
                const auto index = static_cast<size_t>(w.id);
                if (seen[index]) throw std::logic_error("lookup window described twice: " + w.title);
                seen[index] = true;
                all[index] = std::move(w);
            }
        };
        place(lookup_catalog::MasterWindows());
        place(lookup_catalog::DocumentWindows());
        for (bool s : seen)
            if (!s) throw std::logic_error("a lookup window has no description");
        return all;
    }();
    return catalog;
}

}  // namespace

const FieldDescription* WindowDescription::field(const std::string& name) const {
    for (const auto& f : fields)
        if (f.name == name) return &f;
    return nullptr;
}

const FilterDescription* WindowDescription::filter(const std::string& name) const {
    for (const auto& f : filters)
        if (f.name == name) return &f;
    return nullptr;
}

const FieldDescription* WindowDescription::fieldOfButton(const std::string& button) const {
    if (button.empty()) return nullptr;
    for (const auto& f : fields)
        if (f.button == button) return &f;
    return nullptr;
}

const std::vector<PeriodOption>& HistoryPeriods() {
    static const std::vector<PeriodOption> periods = {
        {"直近３ヶ月", 3}, {"直近１年", 12}, {"直近３年", 36}, {"直近10年", 120}, {"全て", 0}};
    return periods;
}

const WindowDescription& DescribeWindow(LookupWindowId id) { return Catalog()[static_cast<size_t>(id)]; }

const std::vector<LookupWindowId>& AllLookupWindows() {
    static const std::vector<LookupWindowId> ids = [] {
        std::vector<LookupWindowId> all;
        for (int i = 0; i < kLookupWindowCount; ++i) all.push_back(static_cast<LookupWindowId>(i));
        return all;
    }();
    return ids;
}

std::optional<LookupWindowId> LookupWindowByTitle(const std::string& title) {
    for (const auto& w : Catalog())
        if (w.title == title || w.objectName == title) return w.id;
    return std::nullopt;
}

}  // namespace velmora
