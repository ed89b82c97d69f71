#include "platform/message_box.h"

#include <atomic>

#include "platform/message_box_default.h"

namespace vn {
namespace {

class DefaultMessageBox : public clMessageBox {
 public:
  void ShowWarning(const std::string& title, const std::string& text) override {
    ShowSystemWarning(title, text);
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
