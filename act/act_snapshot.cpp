#include "act/act_snapshot.h"

#include <algorithm>

#include "act/act_application.h"
#include "act/act_data_parser.h"

namespace vn {

void clACTSnapshot::Expect(std::string text) { expected_.push_back(std::move(text)); }

void clACTSnapshot::LookOnce() {
  if (looked_) return;
  looked_ = true;
  ACTLook look = bridge_.Look({.database = true, .viewType = true, .fields = {}});
  running_ = look.running;
  database_ = std::move(look.database);
  viewType_ = std::move(look.viewType);
}

bool clACTSnapshot::ACTgestartet() {
  LookOnce();
  return running_;
}

std::string clACTSnapshot::ACTDatenbank() {
  LookOnce();
  return database_.Get();
}

int clACTSnapshot::AktuellerViewTyp() {
  LookOnce();
  return viewType_.Get();
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
  ACTLookRequest request;
  for (const std::pair<int, int>& key : collected_) {
    if (!fields_.contains(key) &&
        std::find(request.fields.begin(), request.fields.end(), key) == request.fields.end()) {
      request.fields.push_back(key);
    }
  }
  collected_.clear();
  ACTLook look = bridge_.Look(request);
  for (size_t i = 0; i < request.fields.size(); ++i) {
    fields_.emplace(request.fields[i], std::move(look.fields[i]));
  }
}

}  // namespace vn
