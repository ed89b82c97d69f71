// The presses a user makes, as the fronts pass them to the core: the layout table's rows that
// carry a command and the entries of the tree's menu, each tested by one case that arranges
// the window, presses the control and tells whether the control's action has run.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/core/assignment_tree.h"
#include "config/core/data_link.h"
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

struct PressCase {
  const char* control;
  std::function<void()> arrange;
  std::function<bool()> done;  // whether the control's action has run
};

// The case of `control`: the window opened by `open`, arranged, the action not yet done, then
// `press`ed and the action done.
template <typename Open, typename Press>
void RunPressCase(std::span<const PressCase> cases, const std::string& control, Open open,
                  Press press) {
  const PressCase* found = nullptr;
  for (const PressCase& c : cases)
    if (control == c.control) found = &c;
  ASSERT_NE(found, nullptr) << "no case for " << control;
  open();
  found->arrange();
  ASSERT_FALSE(found->done()) << "done before the press";
  press(control);
  EXPECT_TRUE(found->done());
}

// A data-link dialog that counts its openings for a new connection and is cancelled.
class CountingDataLink : public DataLinkPrompt {
 public:
  int newPrompts = 0;
  std::optional<std::string> PromptNew() override {
    ++newPrompts;
    return std::nullopt;
  }
  std::optional<std::string> PromptEdit(const std::string&) override { return std::nullopt; }
};

}  // namespace vn::config::testing
