#include "act/act_application.h"

#include <cmath>
#include <cstdio>

#include "act/act_handle.h"
#include "act/act_standin.h"
#include "platform/language.h"
#include "platform/message_box.h"
#include "platform/regional_settings.h"
#include "platform/runtime_error.h"
#include "platform/vb_errors.h"
#include "platform/text.h"

namespace vn {
namespace {

constexpr const char* kProgId = "ACTOLE.APPOBJECT";
constexpr const char* kFrameClass = "act3.0frameclass";
constexpr const char* kMessageTitle = "Varnolis";
constexpr const char* kCrLf = "\r\n";
constexpr size_t kUniqueIdLength = 12;

constexpr std::int16_t kFieldUniqueId = 1;
constexpr std::int16_t kFieldGroupName = 25;
constexpr std::int16_t kNotesRemark = 26;
constexpr std::int16_t kNotesAttachment = 28;

// ACT! knows unique IDs of exactly 12 characters, shorter ones padded on the left with blanks.
std::string PaddedId(const std::string& uniqueId) {
  if (uniqueId.size() > kUniqueIdLength) {
    throw RuntimeError(kErrInvalidProcedureCall, kTextInvalidProcedureCall, "clACTApplication");
  }
  return std::string(kUniqueIdLength - uniqueId.size(), ' ') + uniqueId;
}

// `value` as the pattern "0.00" shows it under the user's regional settings.
std::string FormatTwoDecimals(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.2f", std::round(value * 100.0) / 100.0);
  std::string text = buffer;
  std::string separator = ".";
  const std::string locale = NumericLocaleName();
  if (!locale.empty()) separator = LocaleDecimalSymbol(locale);
  return ReplaceAll(text, ".", separator);
}

// An argument that the member table passes by reference.
AutoValue Ref(AutoValue value) { return AutoValue::Ref(std::move(value)); }

bool IsZero(const AutoValue& v) { return !v.IsEmpty() && v.ToLong() == 0; }

// An object that ACT! must hand out; "nothing" fails as a missing object would.
AutoObject Required(const AutoValue& v, const char* what) {
  AutoObject object = v.Object();
  if (!object) {
    throw RuntimeError(kErrObjectVariableNotSet,
                       std::string("Object variable not set (") + what + ")", "clACTApplication");
  }
  return object;
}

}  // namespace

struct clACTApplication::Objects {
  AutoRef app;
  AutoRef views;
  AutoRef aktiveView;
  AutoRef kontaktView;
  AutoRef gruppenView;

  // ACT! gets its references back in this order: contact view, group view, views, application,
  // active view.
  void releaseOBJs() noexcept {
    kontaktView.Release();
    gruppenView.Release();
    views.Release();
    app.Release();
    aktiveView.Release();
  }
  // An operation left by an automation error gives back what it obtained, in the same order.
  ~Objects() { releaseOBJs(); }
};

clACTApplication::clACTApplication() : clACTApplication(DefaultACTAutomation()) {}

clACTApplication::clACTApplication(ACTAutomation automation) : automation_(std::move(automation)) {}

clACTApplication::~clACTApplication() = default;

// ---- private steps ----------------------------------------------------------------------------

void clACTApplication::DoEvents() const { automation_.host->DoEvents(); }

bool clACTApplication::setOBJApp(Objects& objs) const {
  if (objs.app) return true;
  if (!ACTgestartet()) return false;
  return CreateApp(objs);
}

bool clACTApplication::CreateApp(Objects& objs) const {
  objs.app = automation_.host->CreateObject(kProgId);
  DoEvents();
  return static_cast<bool>(objs.app);
}

bool clACTApplication::setOBJViews(Objects& objs) const {
  if (objs.views) return true;
  if (!setOBJApp(objs)) return false;
  try {
    objs.views = objs.app->GetProperty("Views").Object();
  } catch (const RuntimeError& e) {
    if (e.Number() != kRpcServerFault) {
      ShowWarning(kMessageTitle, std::string("Fehler in Klasse ACTApplication - setOBJViews") +
                                     kCrLf + "Fehlernummer:" + std::to_string(e.Number()) + kCrLf +
                                     e.Description());
    }
    return false;
  }
  return static_cast<bool>(objs.views);
}

bool clACTApplication::setOBJAktiveView(Objects& objs) const {
  if (objs.aktiveView) return true;
  if (!setOBJViews(objs)) return false;
  DoEvents();
  objs.aktiveView = objs.views->Call("GetActive").Object();
  DoEvents();
  return static_cast<bool>(objs.aktiveView);
}

bool clACTApplication::CreateView(Objects& objs, int viewType, AutoRef& target) const {
  if (!setOBJViews(objs)) return false;
  DoEvents();
  target =
      objs.views->Call("Create", {static_cast<std::int16_t>(viewType), std::int16_t{2}}).Object();
  DoEvents();
  return static_cast<bool>(target);
}

bool clACTApplication::setOBJKontaktView(Objects& objs) const {
  return CreateView(objs, avKontakt, objs.kontaktView);
}

bool clACTApplication::setOBJGruppenView(Objects& objs) const {
  return CreateView(objs, avGruppe, objs.gruppenView);
}

clAutomationObject* clACTApplication::FieldView(Objects& objs, int ACTView, bool ChangeView) const {
  if (AktuellerViewTyp() == ACTView) {
    if (setOBJAktiveView(objs)) return objs.aktiveView.Get();
  } else if (ChangeView) {
    if (ACTView == avKontakt ? setOBJKontaktView(objs) : setOBJGruppenView(objs)) {
      return ACTView == avKontakt ? objs.kontaktView.Get() : objs.gruppenView.Get();
    }
  }
  return nullptr;
}

// ---- what the library uses ------------------------------------------------------------------

bool clACTApplication::ACTgestartet() const {
  Objects objs;
  // Both searches always run.
  WindowHandle german =
      modACTHandle::FindeFenster(*automation_.windows, kFrameClass, "Kundenmanager");
  WindowHandle any = modACTHandle::FindeFenster(*automation_.windows, kFrameClass, "ACT");
  objs.releaseOBJs();
  return german != 0 || any != 0;
}

std::string clACTApplication::OpenDBName(Objects& objs) const {
  try {
    return objs.app->Call("GetOpenDBName").ToText();
  } catch (const RuntimeError& e) {
    // A server that threw has no database to tell: silently none.
    if (e.Number() != kRpcServerFault) {
      ShowWarning(kMessageTitle,
                  std::string("Fehler in Klasse ACTApplication Eigenschaft ACTDatenbank") + kCrLf +
                      "Fehlernummer: " + std::to_string(e.Number()) + kCrLf +
                      "Fehlerbeschreibung: " + e.Description());
    }
    return {};
  }
}

int clACTApplication::ActiveViewType(Objects& objs) const {
  return setOBJAktiveView(objs) ? objs.aktiveView->GetProperty("Type").ToLong() : -1;
}

std::string clACTApplication::ACTDatenbank() const {
  Objects objs;
  std::string name;
  if (setOBJApp(objs)) name = OpenDBName(objs);
  objs.releaseOBJs();
  return name;
}

int clACTApplication::AktuellerViewTyp() const {
  Objects objs;
  const int type = ActiveViewType(objs);
  objs.releaseOBJs();
  return type;
}

std::string clACTApplication::getFeldwert(int FeldID, int ACTView, bool ChangeView) const {
  Objects objs;
  if (ACTView != avKontakt && ACTView != avGruppe) {
    ShowWarning(kMessageTitle, std::string("Fehler in Klasse ACTApplication - getFeldwert") +
                                   kCrLf + "Falscher ACTViewTyp (" + std::to_string(ACTView) +
                                   "). Es wird avKontakt benutzt.");
    std::string value = getFeldwert(FeldID, avKontakt, ChangeView);
    objs.releaseOBJs();
    return value;
  }
  std::string value;
  if (clAutomationObject* view = FieldView(objs, ACTView, ChangeView)) {
    value = view->Call("GetField", {Ref(std::int32_t{FeldID})}).ToText();
  }
  objs.releaseOBJs();
  return value;
}

ACTLook clACTApplication::Look(const ACTLookRequest& request) const {
  ACTLook look;
  look.fields.resize(request.fields.size());
  look.running = ACTgestartet();
  if (!look.running) return look;
  Objects objs;
  // What the operations of their own would each do first: create the application object. When
  // that fails, every answer asked for fails with it.
  ACTAnswer<bool> app = ACTAnswer<bool>::Of([&] { return CreateApp(objs); });
  if (request.database) {
    look.database = ACTAnswer<std::string>::Of(
        [&] { return app.Get() ? OpenDBName(objs) : std::string(); });
  }
  const bool noDatabase =
      request.database && (look.database.failure || look.database.value.empty());
  if ((request.viewType || !request.fields.empty()) && !noDatabase) {
    look.viewType = ACTAnswer<int>::Of([&] { return app.Get() ? ActiveViewType(objs) : -1; });
  }
  for (size_t i = 0; i < request.fields.size(); ++i) {
    // Named copies, not a structured binding: clang 14 cannot capture one in a lambda.
    const int view = request.fields[i].first;
    const int field = request.fields[i].second;
    ACTAnswer<std::string>& answer = look.fields[i];
    if (view != avKontakt && view != avGruppe) {
      // getFeldwert warns of the view type and reads the contact view instead.
      answer = ACTAnswer<std::string>::Of([&] { return getFeldwert(field, view, false); });
    } else if (look.viewType.failure) {
      answer.failure = look.viewType.failure;
    } else if (look.viewType.value == view) {
      answer = ACTAnswer<std::string>::Of([&] {
        return objs.aktiveView->Call("GetField", {Ref(std::int32_t{field})}).ToText();
      });
    }
  }
  objs.releaseOBJs();
  return look;
}

// ---- the general operations ------------------------------------------------------------------

std::string clACTApplication::AktuelleKontaktID() const {
  Objects objs;
  std::string id;
  if (setOBJAktiveView(objs) && objs.aktiveView->GetProperty("Type").ToLong() == avKontakt) {
    id = objs.aktiveView->Call("GetCurrentID").ToText();
  }
  objs.releaseOBJs();
  return id;
}

std::string clACTApplication::AktuelleGruppenID() const {
  Objects objs;
  std::string id;
  if (setOBJAktiveView(objs) && objs.aktiveView->GetProperty("Type").ToLong() == avGruppe) {
    id = objs.aktiveView->Call("GetCurrentID").ToText();
  }
  objs.releaseOBJs();
  return id;
}

int clACTApplication::AktuelleFeldID() const {
  Objects objs;
  int field = 0;
  if (setOBJAktiveView(objs)) field = objs.aktiveView->GetProperty("CurrentFieldId").ToLong();
  objs.releaseOBJs();
  return field;
}

std::string clACTApplication::AktuelleBenutzerID() const {
  Objects objs;
  std::string id;
  if (setOBJApp(objs)) id = objs.app->Call("GetUserId").ToText();
  objs.releaseOBJs();
  return id;
}

std::string clACTApplication::AktuellerBenutzerName() const {
  Objects objs;
  std::string name;
  if (setOBJApp(objs)) name = objs.app->Call("GetCurrentUserName").ToText();
  objs.releaseOBJs();
  return name;
}

std::string clACTApplication::ACTVersion() const {
  Objects objs;
  std::string version;
  if (setOBJApp(objs)) version = objs.app->Call("GetVersion", {std::int16_t{1}}).ToText();
  objs.releaseOBJs();
  return version;
}

void clACTApplication::Zeigen() {
  Objects objs;
  if (setOBJApp(objs)) objs.app->Call("Show", {true});
  objs.releaseOBJs();
}

void clACTApplication::AktuellerViewTyp(int View) {
  Objects objs;
  if (setOBJViews(objs)) objs.views->Call("Create", {Ref(std::int32_t{View}), std::string()});
  objs.releaseOBJs();
}

void clACTApplication::OpenDatenbank(const std::string& sDatenbank) {
  Objects objs;
  if (setOBJApp(objs)) objs.app->Call("OpenDB", {Ref(sDatenbank)});
  objs.releaseOBJs();
}

bool clACTApplication::CloseDatenbank() {
  Objects objs;
  bool closed = false;
  if (setOBJApp(objs)) {
    std::int32_t result = objs.app->Call("CloseDB").ToLong();
    if (result == 0) {
      closed = true;
    } else {
      ShowWarning(kMessageTitle, std::string("Fehler in Klasse ACTApplication - CloseDB") + kCrLf +
                                     "ACT!-Fehlernummer:" + std::to_string(result) + kCrLf +
                                     "Die Datenbank konnte nicht geschlossen werden.");
    }
  }
  objs.releaseOBJs();
  return closed;
}

void clACTApplication::ExecuteMenuCommand(int CommandID) {
  Objects objs;
  if (setOBJApp(objs)) {
    try {
      objs.app->Call("Command", {Ref(std::int32_t{CommandID})});
    } catch (const RuntimeError& e) {
      ShowWarning(kMessageTitle,
                  std::string("Fehler in Klasse ACTApplication - ExecuteMenuCommand") + kCrLf +
                      "Fehlernummer: " + std::to_string(e.Number()) + kCrLf +
                      "Fehlerbeschreibung: " + e.Description());
    }
  }
  objs.releaseOBJs();
}

std::string clACTApplication::getIDsAktuelleSuche(clAutomationObject* Status) const {
  Objects objs;
  std::string ids;
  if (setOBJKontaktView(objs)) {
    AutoRef& view = objs.kontaktView;
    view->Call("MoveFirst");
    const std::int32_t count = view->Call("GetCount").ToLong();
    for (std::int32_t record = 1; record <= count; ++record) {
      DoEvents();
      ids += view->Call("GetField", {kFieldUniqueId}).ToText();
      view->Call("MoveNext");
      if (Status != nullptr) {
        Status->PutProperty(
            "", "Bestimme aktuelle ACT!-Suche (" + FormatTwoDecimals(100.0 * record / count) + ")");
      }
      DoEvents();
    }
  }
  objs.releaseOBJs();
  return ids;
}

bool clACTApplication::setFeldwert(int FeldID, const std::string& Wert, int ACTView,
                                   bool ChangeView) {
  Objects objs;
  if (ACTView != avKontakt && ACTView != avGruppe) {
    ShowWarning(kMessageTitle, std::string("Fehler in Klasse ACTApplication - setFeldwert") +
                                   kCrLf + "Falscher ACTViewTyp (" + std::to_string(ACTView) +
                                   "). Es wird Kontakt benutzt.");
    bool done = setFeldwert(FeldID, Wert, avKontakt, ChangeView);
    objs.releaseOBJs();
    return done;
  }
  clAutomationObject* view = FieldView(objs, ACTView, ChangeView);
  if (view != nullptr) view->Call("SetField", {Ref(std::int32_t{FeldID}), Ref(Wert)});
  objs.releaseOBJs();
  return view != nullptr;
}

bool clACTApplication::bildeKontaktSuche(const std::string& UniqueIDs) {
  Objects objs;
  bool done = setOBJKontaktView(objs);
  if (done) {
    objs.kontaktView->Call("LookupAll");
    objs.kontaktView->Call("CreateLookup", {Ref(UniqueIDs)});
  }
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::neuerKontakt() {
  Objects objs;
  bool done = setOBJKontaktView(objs);
  if (done) objs.kontaktView->Call("AddNewContact");
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::gehezuKonatkt(const std::string& UniqueID) {
  Objects objs;
  bool done = setOBJKontaktView(objs);
  if (done) {
    objs.kontaktView->Call("LookupAll");
    objs.kontaktView->Call("GoTo", {Ref(PaddedId(UniqueID))});
  }
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::ordneKonatktzuGruppe(const std::string& UniqueID) {
  Objects objs;
  bool done = setOBJKontaktView(objs);
  if (done) objs.kontaktView->Call("AddContactToGroup", {Ref(PaddedId(UniqueID))});
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::GroupExist(const std::string& Gruppenname) {
  Objects objs;
  bool found = false;
  if (setOBJGruppenView(objs)) {
    AutoRef& view = objs.gruppenView;
    view->Call("LookupAll");
    view->Call("MoveFirst");
    const std::int32_t count = view->Call("GetCount").ToLong();
    for (std::int32_t record = 1; record <= count && !found; ++record) {
      if (view->Call("GetField", {kFieldGroupName}).ToText() == Gruppenname) {
        found = true;
      } else {
        view->Call("MoveNext");
      }
    }
  }
  objs.releaseOBJs();
  return found;
}

bool clACTApplication::ShowGroupByName(const std::string& Gruppenname, int Lookup) {
  Objects objs;
  bool done = false;
  if (setOBJGruppenView(objs)) {
    done = IsZero(objs.gruppenView->Call(
        "LookupFieldEx", {kFieldGroupName, Ref(Gruppenname), Ref(std::int32_t{Lookup})}));
  }
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::ShowGroupByUniqueID(const std::string& UniqueID, bool Lookupall_vorweg) {
  Objects objs;
  bool done = false;
  if (setOBJGruppenView(objs)) {
    if (Lookupall_vorweg) objs.gruppenView->Call("LookupAll");
    done = IsZero(objs.gruppenView->Call("GoTo", {Ref(PaddedId(UniqueID))}));
  }
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::DeleteCurrentGroup() {
  Objects objs;
  bool done = false;
  if (setOBJGruppenView(objs)) done = IsZero(objs.gruppenView->Call("DeleteGroupFast"));
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::AddGroup(const std::string& Gruppenname) {
  Objects objs;
  bool done = false;
  if (setOBJGruppenView(objs) && IsZero(objs.gruppenView->Call("AddNew"))) {
    done = IsZero(objs.gruppenView->Call("SetField", {kFieldGroupName, Ref(Gruppenname)}));
  }
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::AddGroupMember(const std::string& UniqueID) {
  Objects objs;
  bool done = false;
  if (setOBJGruppenView(objs)) {
    done = IsZero(objs.gruppenView->Call("AddMemberToGroup", {Ref(PaddedId(UniqueID))}));
  }
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::ShowGroupRegister(const std::string& Registername) {
  Objects objs;
  bool done = false;
  if (setOBJGruppenView(objs))
    done = IsZero(objs.gruppenView->Call("SetActiveTab", {Ref(Registername)}));
  objs.releaseOBJs();
  return done;
}

bool clACTApplication::ErstelleVerknuepfung(const std::string& Datei,
                                            const std::string& Bemerkung) {
  Objects objs;
  bool linked = false;
  if (setOBJAktiveView(objs)) {
    AutoRef& view = objs.aktiveView;
    const std::string attachment = view->Call("AttachFile", {Ref(Datei)}).ToText();
    DoEvents();
    linked = !attachment.empty();
    if (linked && !Bemerkung.empty()) {
      const std::string tab = view->Call("GetActiveTab").ToText();
      bool onNotes = tab == "Notizen/Protokoll" || tab == "Notes/History";
      if (!onNotes) {
        onNotes = IsZero(view->Call("SetActiveTab", {"Notizen/Protokoll"})) ||
                  IsZero(view->Call("SetActiveTab", {"Notes/History"}));
      }
      if (onNotes) {
        AutoRef notes(Required(view->GetProperty("NotesHistory"), "NotesHistory"));
        std::int32_t row = notes->Call("GetRowNumber", {Ref(attachment)}).ToLong();
        notes->Call("SetField", {kNotesRemark, Ref(row), Ref(Bemerkung)});
      }
    }
  }
  objs.releaseOBJs();
  return linked;
}

int clACTApplication::GetAttachments(std::vector<std::string>& aPfade) const {
  Objects objs;
  std::vector<std::string> found;
  if (setOBJAktiveView(objs)) {
    AutoRef notes(Required(objs.aktiveView->GetProperty("NotesHistory"), "NotesHistory"));
    const std::int32_t rows = notes->Call("GetRowCount").ToLong();
    for (std::int32_t row = 0; row < rows; ++row) {
      std::string path = notes->Call("GetField", {kNotesAttachment, Ref(row)}).ToText();
      if (!path.empty()) found.push_back(std::move(path));
    }
  }
  if (!found.empty()) aPfade = found;
  objs.releaseOBJs();
  return static_cast<int>(found.size());
}

}  // namespace vn
