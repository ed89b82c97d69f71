// StagingBuffer: the pieces of one formatted value (digits, separators, names) collected on
// the stack and handed to the caller's string in few appends; appending them one by one to
// a std::string costs more than working them out.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace vn::format {

class StagingBuffer {
 public:
  explicit StagingBuffer(std::string& out) : out_(out) {}
  StagingBuffer(const StagingBuffer&) = delete;
  StagingBuffer& operator=(const StagingBuffer&) = delete;

  void Put(char c) {
    if (used_ == kSize) Flush();
    buf_[used_++] = c;
  }

  void Put(std::string_view s) {
    if (s.size() == 1) {
      Put(s[0]);  // separators and most literals: no copy call for one byte
      return;
    }
    if (s.size() > kSize - used_) {
      Flush();
      if (s.size() > kSize) {
        out_.append(s);
        return;
      }
    }
    std::memcpy(buf_ + used_, s.data(), s.size());
    used_ += s.size();
  }

  // Hands the collected text to the caller's string. Not done on destruction, so that nothing
  // is appended while an exception unwinds.
  void Flush() {
    out_.append(buf_, used_);
    used_ = 0;
  }

 private:
  static constexpr std::size_t kSize = 96;
  std::string& out_;
  std::size_t used_ = 0;
  char buf_[kSize];
};

}  // namespace vn::format
