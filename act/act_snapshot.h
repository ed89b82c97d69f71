// clACTSnapshot: what one page knows of ACT!. Whether ACT! runs, its open database and the active
// view's type are asked of the bridge together in one look at the first of them; the fields that
// the page's texts name are read together in a second look at the first field the page asks for,
// so that every text of the page shows one contact even when the user moves on while the page is
// built. Lives for one page and keeps
// values only, never an ACT! object: the next page asks again.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "act/act_answer.h"

namespace vn {

class clACTApplication;

class clACTSnapshot {
 public:
  // Over `bridge`, which must outlive the snapshot.
  explicit clACTSnapshot(const clACTApplication& bridge) : bridge_(bridge) {}

  clACTSnapshot(const clACTSnapshot&) = delete;
  clACTSnapshot& operator=(const clACTSnapshot&) = delete;

  // A text the page will parse: the fields its commands name are read with the first field asked.
  // Texts expected after that are read as their fields are asked.
  void Expect(std::string text);

  // The bridge's answers, each asked once; an automation error is thrown again at every ask.
  bool ACTgestartet();
  std::string ACTDatenbank();
  int AktuellerViewTyp();
  // Field `FeldID` of the current record in a view of type `ACTView` (without changing the view).
  std::string getFeldwert(int FeldID, int ACTView);

 private:
  // Whether ACT! runs, its database and view type, from one look of the bridge.
  void LookOnce();

  // Reads the fields the expected texts name, each once, and `first` with them.
  void ReadExpectedFields(std::pair<int, int> first);

  const clACTApplication& bridge_;
  std::vector<std::string> expected_;
  // While the expected texts are parsed to learn their fields: the fields asked are noted, not
  // read.
  bool collecting_ = false;
  std::vector<std::pair<int, int>> collected_;
  bool looked_ = false;
  bool running_ = false;
  ACTAnswer<std::string> database_;
  ACTAnswer<int> viewType_;
  std::map<std::pair<int, int>, ACTAnswer<std::string>> fields_;  // by view type and field number
};

}  // namespace vn
