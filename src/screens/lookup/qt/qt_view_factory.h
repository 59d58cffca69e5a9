#pragma once

#include <memory>

#include "screens/lookup/lookup_windows.h"

namespace velmora {

// Makes Qt dialogs for the lookup windows.
class QtLookupViewFactory : public LookupViewFactory {
public:
    std::unique_ptr<LookupView> createView(const WindowDescription& window, LookupPresenter& presenter) override;
};

}  // namespace velmora
