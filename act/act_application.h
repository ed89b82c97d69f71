// clACTApplication: the bridge to ACT! (whether it runs, the open database, the active view,
// field values of the current contact or group, and the general ACT! operations), over the
// automation layer. Holds no ACT! object between its operations: each operation keeps the
// objects it obtains in a scope of its own and releases them at its end.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "act/act_answer.h"
#include "act/auto_ref.h"
#include "act/automation.h"

namespace vn {

// View types as ACT! reports them.
enum ACTViewTyp : int { avKontakt = 1, avGruppe = 3 };

// What one look at ACT! asks for: the open database's name, the active view's type, and fields
// of the current record, each as (view type, field number).
struct ACTLookRequest {
  bool database = false;
  bool viewType = false;
  std::vector<std::pair<int, int>> fields;
};

// What one look found. Each answer is the one the operation of the same name would give, or the
// automation error it would throw; an answer not asked for is left empty.
struct ACTLook {
  bool running = false;
  ACTAnswer<std::string> database;
  ACTAnswer<int> viewType{-1, nullptr};
  std::vector<ACTAnswer<std::string>> fields;  // in the order asked
};

class clACTApplication {
 public:
  // Over the default automation layer (the ACT! stand-in on this platform).
  clACTApplication();
  explicit clACTApplication(ACTAutomation automation);
  ~clACTApplication();

  clACTApplication(const clACTApplication&) = delete;
  clACTApplication& operator=(const clACTApplication&) = delete;

  // --- what the library uses ---
  bool ACTgestartet() const;
  std::string ACTDatenbank() const;
  int AktuellerViewTyp() const;
  std::string getFeldwert(int FeldID, int ACTView, bool ChangeView) const;
  // Everything `request` names in one operation: the window searched for once, one application
  // object, its views and active view obtained once and all released at its end. A field is read
  // as getFeldwert(field, view, false) reads it; the view is only looked at while a database is
  // open when the database is asked too, as nobody asks further without one.
  ACTLook Look(const ACTLookRequest& request) const;

  // --- the general operations ---
  std::string AktuelleKontaktID() const;
  std::string AktuelleGruppenID() const;
  int AktuelleFeldID() const;
  std::string AktuelleBenutzerID() const;
  std::string AktuellerBenutzerName() const;
  std::string ACTVersion() const;
  void Zeigen();
  // Switches ACT! to a view of type `View`.
  void AktuellerViewTyp(int View);
  void OpenDatenbank(const std::string& sDatenbank);
  bool CloseDatenbank();
  void ExecuteMenuCommand(int CommandID);
  // The unique IDs of the current contact look-up, 12 characters each, one after the other.
  // `Status` (may be null) has its default property set to the progress after each record.
  std::string getIDsAktuelleSuche(clAutomationObject* Status) const;
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
  // Documented as "ErstelleVerknüpfung": links file `Datei` to the current record, with the
  // remark `Bemerkung` on its notes row.
  bool ErstelleVerknuepfung(const std::string& Datei, const std::string& Bemerkung);
  // The file paths attached to the current record; `aPfade` is replaced by them when there are
  // any and left as it is otherwise.
  int GetAttachments(std::vector<std::string>& aPfade) const;

 private:
  // The automation objects one operation holds (application, views and the views it made or
  // found), released by releaseOBJs at the operation's end and, on an error, when the
  // operation is left.
  struct Objects;

  // Each step uses an object the operation holds already, so that steps build on one another.
  bool setOBJApp(Objects& objs) const;
  bool CreateApp(Objects& objs) const;
  // The open database's name, "" when ACT! cannot tell it.
  std::string OpenDBName(Objects& objs) const;
  // The active view's type, -1 without an active view.
  int ActiveViewType(Objects& objs) const;
  bool setOBJViews(Objects& objs) const;
  bool setOBJAktiveView(Objects& objs) const;
  bool setOBJKontaktView(Objects& objs) const;
  bool setOBJGruppenView(Objects& objs) const;
  bool CreateView(Objects& objs, int viewType, AutoRef& target) const;
  // The view of type `ACTView` that getFeldwert and setFeldwert read or write, or null.
  clAutomationObject* FieldView(Objects& objs, int ACTView, bool ChangeView) const;
  void DoEvents() const;

  ACTAutomation automation_;
};

}  // namespace vn
