// RuntimeError: a failure as a component reports it to its caller: an error number (a run-time
// error of vb_errors.h, a data provider's, or a message number of the library), a description
// and the place that raised it. Pages and messages show all three, so callers test the number.
#pragma once

#include <stdexcept>
#include <string>

namespace vn {

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(long number, std::string description, std::string source = {})
      : std::runtime_error(description),
        number_(number),
        description_(std::move(description)),
        source_(std::move(source)) {}

  long Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }
  const std::string& Source() const noexcept { return source_; }

 private:
  long number_;
  std::string description_;
  std::string source_;
};

}  // namespace vn
