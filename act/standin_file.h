// The ACT! stand-in file: a JSON model of a running ACT! (its windows, the open database, the
// active view, the current contact and group, lists for the general operations) with fault
// injection. It is read afresh for every call (a model is kept only while the file provably has
// not changed), or once for all calls through one object, and written back by the calls that
// change it.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "act/standin_cache.h"

namespace vn {

// VARNOLIS_ACT when set and not empty, else $XDG_CONFIG_HOME/Varnolis/act.json.
std::string StandInPath();

// How often a stand-in file is read: at every call, or once for all calls through it (what one
// page sees, whatever the file does meanwhile).
enum class StandInReads { kEveryCall, kOnce };

class clStandInFile {
 public:
  // An empty path means StandInPath(), looked up at every read.
  explicit clStandInFile(std::string path = {}, StandInReads reads = StandInReads::kEveryCall);

  std::string Path() const;
  bool Exists() const;

  // The model, or a null value when the file does not exist; never a null pointer. The model is
  // shared with every other caller until the file changes: a call that changes it works on a
  // copy. A file that is not valid JSON or does not have the model's shape is an automation
  // error naming the file and the place.
  StandInModel Load() const;
  // Writes the model back (to a temporary file first, then renamed over the old one).
  void Save(const nlohmann::json& model) const;

  // Throws the automation error that the model's "fail" object injects for `member`, if any.
  void CheckFail(const nlohmann::json& model, const std::string& member) const;

 private:
  StandInModel Read() const;

  std::string path_;
  StandInReads reads_;
  // With kOnce: the model first read (or last saved), which answers every later call.
  mutable StandInModel kept_;
};

}  // namespace vn
