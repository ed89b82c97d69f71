// Command: what pressing a control of the configuration window does, one of the window core's
// actions. The layout table gives each button its command and the tree's menu each of its
// entries; a front passes every press to KonfigurationWindow::Press.
#pragma once

namespace vn::config {

class KonfigurationWindow;

using Command = void (KonfigurationWindow::*)();

}  // namespace vn::config
