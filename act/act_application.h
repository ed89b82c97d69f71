// clACTApplication: the bridge to ACT! (whether it runs, the open database, the active view,
// field values of the current contact or group, and the general ACT! operations), over the
// automation layer. Holds no ACT! object between its operations.
#pragma once

#include <string>

namespace vn {

// View types as ACT! reports them.
enum ACTViewTyp : int { avKontakt = 1, avGruppe = 3 };

class clACTApplication {
 public:
  clACTApplication();
  ~clACTApplication();

  bool ACTgestartet();
  std::string ACTDatenbank();
  int AktuellerViewTyp();
  std::string getFeldwert(int FeldID, int ACTView, bool ChangeView);

  // (the general operations follow in the implementation)
};

}  // namespace vn
