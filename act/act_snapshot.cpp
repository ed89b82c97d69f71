#include "act/act_snapshot.h"

#include <algorithm>

#include "act/act_application.h"
#include "act/act_data_parser.h"

namespace vn {

void clACTSnapshot::Expect(std::string text) { expected_.push_back(std::move(text)); }

namespace {

// What `read` gives, or the automation error it throws.
template <typename T, typename Read>
SnapshotAnswer<T> Take(Read read) {
  SnapshotAnswer<T> answer;
  try {
    answer.value = read();
  } catch (...) {
    // Kept to be thrown again wherever the page asks, as the bridge would throw there.
    answer.failure = std::current_exception();
  }
  return answer;
}

}  // namespace

template <typename T, typename Read>
const T& clACTSnapshot::Ask(std::optional<Answer<T>>& answer, Read read) {
  if (!answer) answer = Take<T>(read);
  return answer->Get();
}

bool clACTSnapshot::ACTgestartet() {
  return Ask(running_, [&] { return bridge_.ACTgestartet(); });
}

std::string clACTSnapshot::ACTDatenbank() {
  return Ask(database_, [&] { return bridge_.ACTDatenbank(); });
}

int clACTSnapshot::AktuellerViewTyp() {
  return Ask(viewType_, [&] { return bridge_.AktuellerViewTyp(); });
}

std::string clACTSnapshot::getFeldwert(int FeldID, int ACTView) {
  const std::pair<int, int> key{ACTView, FeldID};
  if (collecting_) {
    collected_.push_back(key);
    return {};
  }
  if (!fields_.contains(key)) ReadExpectedFields(key);
  return fields_.at(key).Get();
}

void clACTSnapshot::ReadExpectedFields(std::pair<int, int> first) {
  // The parser itself finds the fields: the same commands, link products' INI files and view
  // checks as when the texts are parsed for the page, with the fields only noted.
  collected_ = {first};
  collecting_ = true;
  try {
    for (const std::string& text : expected_) {
      // A parser of its own per text: a failing command ends only that text, as on the page.
      clACTDataParser parser;
      parser.InitPage(this, "");
      parser.Parse(text, ParsedText::kAsRead);
    }
  } catch (...) {
    // An automation error here is the view type's, kept in viewType_ and thrown again when the
    // page asks for it; the fields noted until then are still read.
  }
  collecting_ = false;
  expected_.clear();
  for (const std::pair<int, int>& key : collected_) {
    if (fields_.contains(key)) continue;
    fields_.emplace(
        key, Take<std::string>([&] { return bridge_.getFeldwert(key.second, key.first, false); }));
  }
  collected_.clear();
}

}  // namespace vn
