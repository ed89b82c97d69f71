// ACTAnswer: a value read from ACT! through the bridge, or the automation error its reading threw,
// kept so that the error reaches the caller where it asks for the value, not where it was read.
#pragma once

#include <exception>

namespace vn {

template <typename T>
struct ACTAnswer {
  T value{};
  std::exception_ptr failure;

  const T& Get() const {
    if (failure) std::rethrow_exception(failure);
    return value;
  }

  // What `read` gives, or the error it throws.
  template <typename Read>
  static ACTAnswer Of(Read read) {
    ACTAnswer answer;
    try {
      answer.value = read();
    } catch (...) {
      // Kept to be thrown again at every ask, as the read itself would have thrown there.
      answer.failure = std::current_exception();
    }
    return answer;
  }
};

}  // namespace vn
