// clHTMLError: the library's error block, a one-line notice naming the reporting class with a
// fold image, and a hidden table with the error number and message. Every class that can fail
// owns one.
#pragma once

#include <optional>
#include <string>

#include "resources/message_ids.h"
#include "resources/res_text.h"

namespace vn {

// A program failure being reported while SetError runs (shown as a third row).
struct PendingFailure {
  long number = 0;
  std::string description;
};

class clHTMLError {
 public:
  clHTMLError();

  // Sets the class name; a non-empty resource folder replaces the library folder for the
  // plus image. Always succeeds.
  bool Init(const std::string& sKlasse, const std::string& strResourcePath);

  // Records message `Fehlernummer` with its substitution values and builds the block.
  // `failure` is given while an unexpected failure is being reported.
  // Throws (from ResText) for an id that is not in the string table; Number is set already.
  void SetError(int Fehlernummer, const ResValues& sZusatz = {},
                const std::optional<PendingFailure>& failure = std::nullopt);

  // The "no error" number every class starts with.
  static constexpr int kNoError = msg::kNoError;
  int Number() const { return number_; }
  bool Failed() const { return number_ != kNoError; }
  const std::string& Description() const { return description_; }

 private:
  int number_ = kNoError;
  std::string description_;
  std::string plusImagePath_;
  std::string className_;
};

}  // namespace vn
