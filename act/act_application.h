// clACTApplication: the bridge to ACT! (whether it runs, the open database, the active view,
// field values of the current contact or group, and the general ACT! operations), over the
// automation layer. Holds no ACT! object between its operations.
#pragma once

#include <string>
#include <vector>

#include "act/automation.h"

namespace vn {

// View types as ACT! reports them.
enum ACTViewTyp : int { avKontakt = 1, avGruppe = 3 };

class clACTApplication {
 public:
  // Over the default automation layer (the ACT! stand-in on this platform).
  clACTApplication();
  explicit clACTApplication(ACTAutomation automation);
  ~clACTApplication();

  clACTApplication(const clACTApplication&) = delete;
  clACTApplication& operator=(const clACTApplication&) = delete;

  // --- what the library uses ---
  bool ACTgestartet();
  std::string ACTDatenbank();
  int AktuellerViewTyp();
  std::string getFeldwert(int FeldID, int ACTView, bool ChangeView);

  // --- the general operations ---
  std::string AktuelleKontaktID();
  std::string AktuelleGruppenID();
  int AktuelleFeldID();
  std::string AktuelleBenutzerID();
  std::string AktuellerBenutzerName();
  std::string ACTVersion();
  void Zeigen();
  // Switches ACT! to a view of type `View`.
  void AktuellerViewTyp(int View);
  void OpenDatenbank(const std::string& sDatenbank);
  bool CloseDatenbank();
  void ExecuteMenuCommand(int CommandID);
  // The unique IDs of the current contact look-up, 12 characters each, one after the other.
  // `Status` (may be null) has its default property set to the progress after each record.
  std::string getIDsAktuelleSuche(clAutomationObject* Status);
  bool setFeldwert(int FeldID, const std::string& Wert, int ACTView, bool ChangeView);
  bool bildeKontaktSuche(const std::string& UniqueIDs);
  bool neuerKontakt();
  bool gehezuKonatkt(const std::string& UniqueID);
  bool ordneKonatktzuGruppe(const std::string& UniqueID);
  bool GroupExist(const std::string& Gruppenname);
  bool ShowGroupByName(const std::string& Gruppenname, int Lookup);
  bool ShowGroupByUniqueID(const std::string& UniqueID, bool Lookupall_vorweg);
  bool DeleteCurrentGroup();
  bool AddGroup(const std::string& Gruppenname);
  bool AddGroupMember(const std::string& UniqueID);
  bool ShowGroupRegister(const std::string& Registername);
  bool ErstelleVerknüpfung(const std::string& Datei, const std::string& Bemerkung);
  // The file paths attached to the current record; `aPfade` is replaced by them when there are
  // any and left as it is otherwise.
  int GetAttachments(std::vector<std::string>& aPfade);

 private:
  bool setOBJApp();
  bool setOBJViews();
  bool setOBJAktiveView();
  bool setOBJKontaktView();
  bool setOBJGruppenView();
  bool CreateView(int viewType, AutoObject& target);
  void releaseOBJs();
  void DoEvents();

  ACTAutomation automation_;
  AutoObject objApp_;
  AutoObject objViews_;
  AutoObject objAktiveView_;
  AutoObject objKontaktView_;
  AutoObject objGruppenView_;
};

}  // namespace vn
