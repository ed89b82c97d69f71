#include "platform/message_box.h"

#include <atomic>
#include <iostream>

#include "platform/debug_log.h"
#include "platform/text.h"

namespace vn {
namespace {

class DefaultMessageBox : public clMessageBox {
 public:
  void ShowWarning(const std::string& title, const std::string& text) override {
    std::cerr << title << ": " << ReplaceAll(text, "\r\n", "\n") << std::endl;
    // A log that cannot be written must not turn a warning into a failure of the operation.
    try {
      DPrint(title + ": " + ReplaceAll(text, "\r\n", " / "));
    } catch (...) {
    }
  }
};

DefaultMessageBox g_default;
std::atomic<clMessageBox*> g_box{nullptr};

}  // namespace

void ShowWarning(const std::string& title, const std::string& text) {
  clMessageBox* box = g_box.load();
  (box != nullptr ? box : &g_default)->ShowWarning(title, text);
}

clMessageBox* SetMessageBox(clMessageBox* box) { return g_box.exchange(box); }

}  // namespace vn
