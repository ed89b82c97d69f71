#include "act/act_application.h"

#include <cmath>
#include <cstdio>

#include "act/act_handle.h"
#include "act/act_standin.h"
#include "platform/language.h"
#include "platform/message_box.h"
#include "platform/regional_settings.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace vn {
namespace {

constexpr const char* kProgId = "ACTOLE.APPOBJECT";
constexpr const char* kFrameClass = "act3.0frameclass";
constexpr const char* kMessageTitle = "Varnolis";
constexpr const char* kCrLf = "\r\n";
constexpr size_t kUniqueIdLength = 12;
constexpr long kInvalidArgument = 5;  // "Invalid procedure call or argument"

constexpr std::int16_t kFieldUniqueId = 1;
constexpr std::int16_t kFieldGroupName = 25;
constexpr std::int16_t kNotesRemark = 26;
constexpr std::int16_t kNotesAttachment = 28;

// ACT! knows unique IDs of exactly 12 characters, shorter ones padded on the left with blanks.
std::string PaddedId(const std::string& uniqueId) {
  if (uniqueId.size() > kUniqueIdLength) {
    throw RuntimeError(kInvalidArgument, "Invalid procedure call or argument",
                       "clACTApplication");
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

bool IsZero(const AutoValue& v) { return !v.IsEmpty() && v.ToLong() == 0; }

// An object that ACT! must hand out; "nothing" fails as a missing object would.
AutoObject Required(const AutoValue& v, const char* what) {
  AutoObject object = v.Object();
  if (!object) {
    throw RuntimeError(91, std::string("Object variable not set (") + what + ")",
                       "clACTApplication");
  }
  return object;
}

}  // namespace

clACTApplication::clACTApplication() : clACTApplication(DefaultACTAutomation()) {}

clACTApplication::clACTApplication(ACTAutomation automation) : automation_(std::move(automation)) {}

clACTApplication::~clACTApplication() { releaseOBJs(); }

// ---- private steps ----------------------------------------------------------------------------

void clACTApplication::DoEvents() { automation_.host->DoEvents(); }

bool clACTApplication::setOBJApp() {
  if (!ACTgestartet()) return false;
  objApp_ = automation_.host->CreateObject(kProgId);
  DoEvents();
  return objApp_ != nullptr;
}

bool clACTApplication::setOBJViews() {
  if (!setOBJApp()) return false;
  try {
    objViews_ = objApp_->GetProperty("Views").Object();
  } catch (const RuntimeError& e) {
    if (e.Number() != kRpcServerFault) {
      ShowWarning(kMessageTitle, std::string("Fehler in Klasse ACTApplication - setOBJViews") +
                                     kCrLf + "Fehlernummer:" + std::to_string(e.Number()) + kCrLf +
                                     e.Description());
    }
    return false;
  }
  return objViews_ != nullptr;
}

bool clACTApplication::setOBJAktiveView() {
  if (!setOBJViews()) return false;
  DoEvents();
  objAktiveView_ = objViews_->Call("GetActive").Object();
  DoEvents();
  return objAktiveView_ != nullptr;
}

bool clACTApplication::CreateView(int viewType, AutoObject& target) {
  if (!setOBJViews()) return false;
  DoEvents();
  target = objViews_->Call("Create", {static_cast<std::int16_t>(viewType), std::int16_t{2}}).Object();
  DoEvents();
  return target != nullptr;
}

bool clACTApplication::setOBJKontaktView() { return CreateView(avKontakt, objKontaktView_); }

bool clACTApplication::setOBJGruppenView() { return CreateView(avGruppe, objGruppenView_); }

void clACTApplication::releaseOBJs() {
  objKontaktView_.reset();
  objGruppenView_.reset();
  objViews_.reset();
  objApp_.reset();
  objAktiveView_.reset();
}

// ---- what the library uses ------------------------------------------------------------------

bool clACTApplication::ACTgestartet() {
  // Both searches always run.
  WindowHandle german = modACTHandle::FindeFenster(*automation_.windows, kFrameClass, "Kundenmanager");
  WindowHandle any = modACTHandle::FindeFenster(*automation_.windows, kFrameClass, "ACT");
  releaseOBJs();
  return german != 0 || any != 0;
}

std::string clACTApplication::ACTDatenbank() {
  std::string name;
  if (setOBJApp()) {
    try {
      name = objApp_->Call("GetOpenDBName").ToText();
    } catch (const RuntimeError& e) {
      name.clear();
      if (e.Number() != kRpcServerFault) {
        ShowWarning(kMessageTitle,
                    std::string("Fehler in Klasse ACTApplication Eigenschaft ACTDatenbank") + kCrLf +
                        "Fehlernummer: " + std::to_string(e.Number()) + kCrLf +
                        "Fehlerbeschreibung: " + e.Description());
      }
    }
  }
  releaseOBJs();
  return name;
}

int clACTApplication::AktuellerViewTyp() {
  int type = -1;
  if (setOBJAktiveView()) type = objAktiveView_->GetProperty("Type").ToLong();
  releaseOBJs();
  return type;
}

std::string clACTApplication::getFeldwert(int FeldID, int ACTView, bool ChangeView) {
  if (ACTView != avKontakt && ACTView != avGruppe) {
    ShowWarning(kMessageTitle, std::string("Fehler in Klasse ACTApplication - getFeldwert") + kCrLf +
                                   "Falscher ACTViewTyp (" + std::to_string(ACTView) +
                                   "). Es wird avKontakt benutzt.");
    std::string value = getFeldwert(FeldID, avKontakt, ChangeView);
    releaseOBJs();
    return value;
  }
  std::string value;
  AutoObject view;
  if (AktuellerViewTyp() == ACTView) {
    if (setOBJAktiveView()) view = objAktiveView_;
  } else if (ChangeView) {
    if (ACTView == avKontakt ? setOBJKontaktView() : setOBJGruppenView()) {
      view = ACTView == avKontakt ? objKontaktView_ : objGruppenView_;
    }
  }
  if (view) value = view->Call("GetField", {std::int32_t{FeldID}}).ToText();
  releaseOBJs();
  return value;
}

// ---- the general operations ------------------------------------------------------------------

std::string clACTApplication::AktuelleKontaktID() {
  std::string id;
  if (setOBJAktiveView() && objAktiveView_->GetProperty("Type").ToLong() == avKontakt) {
    id = objAktiveView_->Call("GetCurrentID").ToText();
  }
  releaseOBJs();
  return id;
}

std::string clACTApplication::AktuelleGruppenID() {
  std::string id;
  if (setOBJAktiveView() && objAktiveView_->GetProperty("Type").ToLong() == avGruppe) {
    id = objAktiveView_->Call("GetCurrentID").ToText();
  }
  releaseOBJs();
  return id;
}

int clACTApplication::AktuelleFeldID() {
  int field = 0;
  if (setOBJAktiveView()) field = objAktiveView_->GetProperty("CurrentFieldId").ToLong();
  releaseOBJs();
  return field;
}

std::string clACTApplication::AktuelleBenutzerID() {
  std::string id;
  if (setOBJApp()) id = objApp_->Call("GetUserId").ToText();
  releaseOBJs();
  return id;
}

std::string clACTApplication::AktuellerBenutzerName() {
  std::string name;
  if (setOBJApp()) name = objApp_->Call("GetCurrentUserName").ToText();
  releaseOBJs();
  return name;
}

std::string clACTApplication::ACTVersion() {
  std::string version;
  if (setOBJApp()) version = objApp_->Call("GetVersion", {std::int16_t{1}}).ToText();
  releaseOBJs();
  return version;
}

void clACTApplication::Zeigen() {
  if (setOBJApp()) objApp_->Call("Show", {true});
  releaseOBJs();
}

void clACTApplication::AktuellerViewTyp(int View) {
  if (setOBJViews()) objViews_->Call("Create", {std::int32_t{View}, std::string()});
  releaseOBJs();
}

void clACTApplication::OpenDatenbank(const std::string& sDatenbank) {
  if (setOBJApp()) objApp_->Call("OpenDB", {sDatenbank});
  releaseOBJs();
}

bool clACTApplication::CloseDatenbank() {
  bool closed = false;
  if (setOBJApp()) {
    std::int32_t result = objApp_->Call("CloseDB").ToLong();
    if (result == 0) {
      closed = true;
    } else {
      ShowWarning(kMessageTitle, std::string("Fehler in Klasse ACTApplication - CloseDB") + kCrLf +
                                     "ACT!-Fehlernummer:" + std::to_string(result) + kCrLf +
                                     "Die Datenbank konnte nicht geschlossen werden.");
    }
  }
  releaseOBJs();
  return closed;
}

void clACTApplication::ExecuteMenuCommand(int CommandID) {
  if (setOBJApp()) {
    try {
      objApp_->Call("Command", {std::int32_t{CommandID}});
    } catch (const RuntimeError& e) {
      ShowWarning(kMessageTitle, std::string("Fehler in Klasse ACTApplication - ExecuteMenuCommand") +
                                     kCrLf + "Fehlernummer: " + std::to_string(e.Number()) + kCrLf +
                                     "Fehlerbeschreibung: " + e.Description());
    }
  }
  releaseOBJs();
}

std::string clACTApplication::getIDsAktuelleSuche(clAutomationObject* Status) {
  std::string ids;
  if (setOBJKontaktView()) {
    objKontaktView_->Call("MoveFirst");
    const std::int32_t count = objKontaktView_->Call("GetCount").ToLong();
    for (std::int32_t record = 1; record <= count; ++record) {
      DoEvents();
      ids += objKontaktView_->Call("GetField", {kFieldUniqueId}).ToText();
      objKontaktView_->Call("MoveNext");
      if (Status != nullptr) {
        Status->PutProperty("", "Bestimme aktuelle ACT!-Suche (" +
                                    FormatTwoDecimals(100.0 * record / count) + ")");
      }
      DoEvents();
    }
  }
  releaseOBJs();
  return ids;
}

bool clACTApplication::setFeldwert(int FeldID, const std::string& Wert, int ACTView,
                                   bool ChangeView) {
  if (ACTView != avKontakt && ACTView != avGruppe) {
    ShowWarning(kMessageTitle, std::string("Fehler in Klasse ACTApplication - setFeldwert") + kCrLf +
                                   "Falscher ACTViewTyp (" + std::to_string(ACTView) +
                                   "). Es wird Kontakt benutzt.");
    bool done = setFeldwert(FeldID, Wert, avKontakt, ChangeView);
    releaseOBJs();
    return done;
  }
  AutoObject view;
  if (AktuellerViewTyp() == ACTView) {
    if (setOBJAktiveView()) view = objAktiveView_;
  } else if (ChangeView) {
    if (ACTView == avKontakt ? setOBJKontaktView() : setOBJGruppenView()) {
      view = ACTView == avKontakt ? objKontaktView_ : objGruppenView_;
    }
  }
  if (view) view->Call("SetField", {std::int32_t{FeldID}, Wert});
  releaseOBJs();
  return view != nullptr;
}

bool clACTApplication::bildeKontaktSuche(const std::string& UniqueIDs) {
  bool done = setOBJKontaktView();
  if (done) {
    objKontaktView_->Call("LookupAll");
    objKontaktView_->Call("CreateLookup", {UniqueIDs});
  }
  releaseOBJs();
  return done;
}

bool clACTApplication::neuerKontakt() {
  bool done = setOBJKontaktView();
  if (done) objKontaktView_->Call("AddNewContact");
  releaseOBJs();
  return done;
}

bool clACTApplication::gehezuKonatkt(const std::string& UniqueID) {
  bool done = setOBJKontaktView();
  if (done) {
    objKontaktView_->Call("LookupAll");
    objKontaktView_->Call("GoTo", {PaddedId(UniqueID)});
  }
  releaseOBJs();
  return done;
}

bool clACTApplication::ordneKonatktzuGruppe(const std::string& UniqueID) {
  bool done = setOBJKontaktView();
  if (done) objKontaktView_->Call("AddContactToGroup", {PaddedId(UniqueID)});
  releaseOBJs();
  return done;
}

bool clACTApplication::GroupExist(const std::string& Gruppenname) {
  bool found = false;
  if (setOBJGruppenView()) {
    objGruppenView_->Call("LookupAll");
    objGruppenView_->Call("MoveFirst");
    const std::int32_t count = objGruppenView_->Call("GetCount").ToLong();
    for (std::int32_t record = 1; record <= count && !found; ++record) {
      if (objGruppenView_->Call("GetField", {kFieldGroupName}).ToText() == Gruppenname) {
        found = true;
      } else {
        objGruppenView_->Call("MoveNext");
      }
    }
  }
  releaseOBJs();
  return found;
}

bool clACTApplication::ShowGroupByName(const std::string& Gruppenname, int Lookup) {
  bool done = false;
  if (setOBJGruppenView()) {
    done = IsZero(objGruppenView_->Call(
        "LookupFieldEx", {kFieldGroupName, Gruppenname, std::int32_t{Lookup}}));
  }
  releaseOBJs();
  return done;
}

bool clACTApplication::ShowGroupByUniqueID(const std::string& UniqueID, bool Lookupall_vorweg) {
  bool done = false;
  if (setOBJGruppenView()) {
    if (Lookupall_vorweg) objGruppenView_->Call("LookupAll");
    done = IsZero(objGruppenView_->Call("GoTo", {PaddedId(UniqueID)}));
  }
  releaseOBJs();
  return done;
}

bool clACTApplication::DeleteCurrentGroup() {
  bool done = false;
  if (setOBJGruppenView()) done = IsZero(objGruppenView_->Call("DeleteGroupFast"));
  releaseOBJs();
  return done;
}

bool clACTApplication::AddGroup(const std::string& Gruppenname) {
  bool done = false;
  if (setOBJGruppenView() && IsZero(objGruppenView_->Call("AddNew"))) {
    done = IsZero(objGruppenView_->Call("SetField", {kFieldGroupName, Gruppenname}));
  }
  releaseOBJs();
  return done;
}

bool clACTApplication::AddGroupMember(const std::string& UniqueID) {
  bool done = false;
  if (setOBJGruppenView()) {
    done = IsZero(objGruppenView_->Call("AddMemberToGroup", {PaddedId(UniqueID)}));
  }
  releaseOBJs();
  return done;
}

bool clACTApplication::ShowGroupRegister(const std::string& Registername) {
  bool done = false;
  if (setOBJGruppenView()) done = IsZero(objGruppenView_->Call("SetActiveTab", {Registername}));
  releaseOBJs();
  return done;
}

bool clACTApplication::ErstelleVerknüpfung(const std::string& Datei, const std::string& Bemerkung) {
  bool linked = false;
  if (setOBJAktiveView()) {
    const std::string attachment = objAktiveView_->Call("AttachFile", {Datei}).ToText();
    DoEvents();
    linked = !attachment.empty();
    if (linked && !Bemerkung.empty()) {
      const std::string tab = objAktiveView_->Call("GetActiveTab").ToText();
      bool onNotes = tab == "Notizen/Protokoll" || tab == "Notes/History";
      if (!onNotes) {
        onNotes = IsZero(objAktiveView_->Call("SetActiveTab", {"Notizen/Protokoll"})) ||
                  IsZero(objAktiveView_->Call("SetActiveTab", {"Notes/History"}));
      }
      if (onNotes) {
        AutoObject notes = Required(objAktiveView_->GetProperty("NotesHistory"), "NotesHistory");
        std::int32_t row = notes->Call("GetRowNumber", {attachment}).ToLong();
        notes->Call("SetField", {kNotesRemark, row, Bemerkung});
      }
    }
  }
  releaseOBJs();
  return linked;
}

int clACTApplication::GetAttachments(std::vector<std::string>& aPfade) {
  std::vector<std::string> found;
  if (setOBJAktiveView()) {
    AutoObject notes = Required(objAktiveView_->GetProperty("NotesHistory"), "NotesHistory");
    const std::int32_t rows = notes->Call("GetRowCount").ToLong();
    for (std::int32_t row = 0; row < rows; ++row) {
      std::string path = notes->Call("GetField", {kNotesAttachment, row}).ToText();
      if (!path.empty()) found.push_back(std::move(path));
    }
  }
  if (!found.empty()) aPfade = found;
  releaseOBJs();
  return static_cast<int>(found.size());
}

}  // namespace vn
