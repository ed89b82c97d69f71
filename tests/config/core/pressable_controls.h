// The controls a user presses, as the fronts wire them to the core: the layout table's rows
// that carry a command and the entries of the tree's menu.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/core/assignment_tree.h"
#include "config/core/layout.h"

namespace vn::config::testing {

inline std::vector<std::string> PressableControls() {
  std::vector<std::string> names;
  for (const ControlPlace& place : LayoutTable())
    if (place.command != nullptr) names.emplace_back(place.name);
  for (const MenuItem& item : AssignmentTree::MenuItems())
    if (item.command != nullptr) names.emplace_back(item.name);
  return names;
}

// The test's name for a control's case.
inline std::string ControlCaseName(const ::testing::TestParamInfo<std::string>& info) {
  return info.param;
}

}  // namespace vn::config::testing
