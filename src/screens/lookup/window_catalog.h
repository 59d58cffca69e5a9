#pragma once

#include <vector>

#include "screens/lookup/window_description.h"

namespace velmora::lookup_catalog {

// The descriptions, built once by DescribeWindow.
std::vector<WindowDescription> MasterWindows();
std::vector<WindowDescription> DocumentWindows();

}  // namespace velmora::lookup_catalog
