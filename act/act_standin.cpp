#include "act/act_standin.h"

#include <string_view>

#include "act/standin_file.h"
#include "platform/codepage.h"
#include "platform/file_io.h"
#include "platform/path_separator.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace vn {
namespace {

using nlohmann::json;

constexpr long kDisconnected = -2147417848;  // RPC_E_DISCONNECTED
constexpr long kBadIndex = -2147352565;      // DISP_E_BADINDEX
constexpr const char* kSource = "ACT! stand-in";
constexpr int kUniqueIdField = 1;
constexpr long kDispOverflow = -2147352566;  // DISP_E_OVERFLOW
constexpr std::int64_t kLastUniqueNumber = 9999999999;

using FilePtr = std::shared_ptr<const clStandInFile>;

// ---- the window list ------------------------------------------------------------------------

class StandInWindows : public clWindowList {
 public:
  explicit StandInWindows(FilePtr file) : file_(std::move(file)) {}

  // The list is taken from the file once per enumeration, as the desktop would list its windows:
  // the model read then is kept (it never changes) and answers for the handles it gave.
  std::vector<WindowHandle> EnumWindows() override {
    windows_.clear();
    model_ = file_->Load();
    std::vector<WindowHandle> handles;
    if (!model_->is_object()) return handles;
    auto windows = model_->find("windows");
    if (windows == model_->end()) return handles;
    for (const json& w : *windows) {
      windows_.push_back(&w);
      handles.push_back(windows_.size());
    }
    return handles;
  }
  bool IsWindowVisible(WindowHandle hwnd) override {
    const json* w = Find(hwnd);
    if (w == nullptr) return false;
    auto visible = w->find("visible");
    return visible == w->end() || visible->get<bool>();
  }
  bool IsWindow(WindowHandle hwnd) override { return Find(hwnd) != nullptr; }
  std::string GetClassName(WindowHandle hwnd) override { return Text(hwnd, "class"); }
  int GetWindowTextLength(WindowHandle hwnd) override {
    const std::string& title = Text(hwnd, "title");
    int n = 0;
    for (size_t pos = 0; pos < title.size(); ++n) DecodeUtf8(title, pos);
    return n;
  }
  std::string GetWindowText(WindowHandle hwnd) override { return Text(hwnd, "title"); }

 private:
  const json* Find(WindowHandle hwnd) const {
    if (hwnd == 0 || hwnd > windows_.size()) return nullptr;
    return windows_[hwnd - 1];
  }
  // The window's class or title; "" for an unknown handle or a window without it.
  const std::string& Text(WindowHandle hwnd, const char* key) const {
    static const std::string kNone;
    const json* w = Find(hwnd);
    if (w == nullptr) return kNone;
    auto it = w->find(key);
    return it == w->end() ? kNone : it->get_ref<const std::string&>();
  }
  FilePtr file_;
  StandInModel model_;
  std::vector<const json*> windows_;  // in model_
};

// ---- the model ------------------------------------------------------------------------------

const char* CurrentKey(int viewType) { return viewType == 3 ? "group" : "contact"; }
const char* ListKey(int viewType) { return viewType == 3 ? "groups" : "contacts"; }

std::string FieldText(const json& record, int field) {
  if (!record.is_object()) return {};
  auto it = record.find(std::to_string(field));
  if (it == record.end() || it->is_null()) return {};
  if (it->is_string()) return it->get<std::string>();
  if (it->is_boolean()) return it->get<bool>() ? "True" : "False";
  return it->dump();
}

std::string IdOf(const json& record) { return TrimSpaces(FieldText(record, kUniqueIdField)); }

// The records a created view moves over: the list of the file, or the current record alone
// when the file has no list. The contact list honours the current look-up. `Json` is the model's
// type, const for the calls that only read.
template <typename Json>
std::vector<Json*> ViewList(Json& model, int viewType) {
  std::vector<Json*> list;
  auto it = model.find(ListKey(viewType));
  if (it == model.end()) {
    auto current = model.find(CurrentKey(viewType));
    if (current != model.end() && current->is_object()) list.push_back(&*current);
    return list;
  }
  const json* lookup = nullptr;
  if (viewType == 1) {
    auto found = model.find("lookup");
    if (found != model.end()) lookup = &*found;
  }
  for (Json& record : *it) {
    if (lookup != nullptr) {
      bool wanted = false;
      for (const json& id : *lookup)
        wanted = wanted || TrimSpaces(id.get<std::string>()) == IdOf(record);
      if (!wanted) continue;
    }
    list.push_back(&record);
  }
  return list;
}

// The list of the file, made from the current record when the file has none yet.
json& EnsureList(json& model, int viewType) {
  const char* key = ListKey(viewType);
  if (!model.contains(key)) {
    model[key] = json::array();
    auto current = model.find(CurrentKey(viewType));
    if (current != model.end() && current->is_object()) model[key].push_back(*current);
  }
  return model[key];
}

// After `record` changed, every other copy of the same record (the current one and the list's)
// takes the change.
void SyncCopies(json& model, int viewType, const json& record) {
  const std::string id = IdOf(record);
  if (id.empty()) return;
  json copy = record;
  auto current = model.find(CurrentKey(viewType));
  if (current != model.end() && IdOf(*current) == id) *current = copy;
  auto list = model.find(ListKey(viewType));
  if (list != model.end()) {
    for (json& r : *list) {
      if (IdOf(r) == id) r = copy;
    }
  }
}

// "SI" and ten digits; the file's counter ends at 10000000000, when every ID has been given.
std::string NewUniqueId(json& model) {
  const std::int64_t next = model.value("nextId", std::int64_t{1});
  if (next > kLastUniqueNumber) {
    throw RuntimeError(kDispOverflow, "No unique ID is left (nextId)", kSource);
  }
  model["nextId"] = next + 1;
  std::string digits = std::to_string(next);
  return "SI" + std::string(digits.size() < 10 ? 10 - digits.size() : 0, '0') + digits;
}

void AddMember(json& group, const std::string& uniqueId) {
  if (!group.contains("members")) group["members"] = json::array();
  std::string id = TrimSpaces(uniqueId);
  for (const json& m : group["members"]) {
    if (m.is_string() && m.get<std::string>() == id) return;
  }
  group["members"].push_back(id);
}

// The last part of a path: an attachment is known by its file's name.
std::string FileName(const std::string& path) {
  return path.substr(path.find_last_of(VN_PATH_SEP "/") + 1);
}

// ---- the automation objects -----------------------------------------------------------------

enum class Kind { kApplication, kViews, kView, kNotes };

void ExpectArgs(const std::vector<AutoValue>& args, size_t count, const std::string& member) {
  if (args.size() != count) {
    throw RuntimeError(kDispBadParamCount, "Wrong number of arguments for " + member, kSource);
  }
}

std::string Str(const std::vector<AutoValue>& args, size_t i) {
  if (!args[i].Is<std::string>()) throw RuntimeError(kDispTypeMismatch, "Type mismatch", kSource);
  return args[i].As<std::string>();
}

// One call on a stand-in object: the model as read for it (shared, so a member that changes it
// changes a copy and writes that), the member's lower-case name (for members that share an
// implementation), and the arguments.
struct MemberCall {
  const json& model;
  std::string_view name;
  std::vector<AutoValue>& args;
};

class StandInObject;
using MemberFn = AutoValue (StandInObject::*)(MemberCall&);

// A member of an automation object: its lower-case name, the number of arguments it takes
// (kProperty: properties, whose arguments are not checked) and what it does.
inline constexpr int kProperty = -1;
struct Member {
  const char* name;
  int arguments;
  MemberFn fn;
};

class StandInObject : public clAutomationObject,
                      public std::enable_shared_from_this<StandInObject> {
 public:
  StandInObject(FilePtr file, Kind kind, int viewType = 0, bool created = false)
      : file_(std::move(file)), kind_(kind), viewType_(viewType), created_(created) {}

  AutoValue Invoke(const std::string& member, std::vector<AutoValue>& args) override {
    // Held for the whole call: a write of the file meanwhile does not change it.
    const StandInModel model = file_->Load();
    if (!model->is_object()) {
      throw RuntimeError(kDisconnected, "ACT! is no longer running (" + file_->Path() + ")",
                         kSource);
    }
    file_->CheckFail(*model, member);
    const Member* found = Find(member);
    if (found == nullptr) Unknown(member);
    if (found->arguments != kProperty)
      ExpectArgs(args, static_cast<size_t>(found->arguments), member);
    MemberCall call{*model, found->name, args};
    return (this->*found->fn)(call);
  }
  AutoValue GetProperty(const std::string& member) override {
    std::vector<AutoValue> none;
    return Invoke(member, none);
  }
  void PutProperty(const std::string& member, const AutoValue&) override { Unknown(member); }

  void SetCursor(size_t cursor) { cursor_ = cursor; }

 private:
  static const Member kApplicationMembers[];
  static const Member kViewsMembers[];
  static const Member kViewMembers[];
  static const Member kListViewMembers[];  // only on views created for list operations
  static const Member kNotesMembers[];

  // The member called `name` (in any case) for this object's kind, or null.
  const Member* Find(std::string_view name) const;

  [[noreturn]] static void Unknown(const std::string& member) {
    throw RuntimeError(kDispUnknownName, "Unknown name: " + member, kSource);
  }

  // ---- application ----

  AutoValue ModelText(MemberCall& c) {
    const char* key = c.name == "getopendbname" ? "database"
                      : c.name == "getuserid"   ? "userId"
                                                : "userName";
    auto it = c.model.find(key);
    return it != c.model.end() && it->is_string() ? it->get<std::string>() : std::string();
  }
  AutoValue GetViews(MemberCall&) {
    return AutoObject(std::make_shared<StandInObject>(file_, Kind::kViews));
  }
  AutoValue GetVersion(MemberCall& c) { return c.model.value("version", std::string()); }
  AutoValue Show(MemberCall&) { return {}; }
  AutoValue OpenDB(MemberCall& c) {
    json model = c.model;
    model["database"] = Str(c.args, 0);
    file_->Save(model);
    return {};
  }
  AutoValue CloseDB(MemberCall& c) {
    auto database = c.model.find("database");
    if (database == c.model.end() || !database->is_string() ||
        database->get_ref<const std::string&>().empty()) {
      return std::int32_t{1};  // nothing to close
    }
    json model = c.model;
    model["database"] = nullptr;
    file_->Save(model);
    return std::int32_t{0};
  }
  AutoValue Command(MemberCall& c) {
    json model = c.model;
    if (!model.contains("commands")) model["commands"] = json::array();
    model["commands"].push_back(c.args[0].ToLong());
    file_->Save(model);
    return {};
  }

  // ---- views ----

  AutoValue GetActive(MemberCall& c) {
    auto it = c.model.find("activeView");
    if (it == c.model.end() || !it->is_number_integer()) return AutoObject();
    return AutoObject(std::make_shared<StandInObject>(file_, Kind::kView, it->get<int>(), false));
  }
  AutoValue Create(MemberCall& c) {
    int type = c.args[0].ToLong();
    if (c.args[1].Is<std::string>()) {  // switches ACT! to a view of that type
      json model = c.model;
      model["activeView"] = type;
      file_->Save(model);
      return {};
    }
    auto view = std::make_shared<StandInObject>(file_, Kind::kView, type, true);
    // A new view shows the current record.
    auto list = ViewList(c.model, type);
    auto current = c.model.find(CurrentKey(type));
    const std::string currentId = current == c.model.end() ? std::string() : IdOf(*current);
    for (size_t i = 0; i < list.size(); ++i) {
      if (!currentId.empty() && IdOf(*list[i]) == currentId) view->SetCursor(i);
    }
    return AutoObject(view);
  }

  // ---- a view ----

  // The record this view shows, or null.
  template <typename Json>
  Json* Record(Json& model) const {
    if (!created_) {
      auto it = model.find(CurrentKey(viewType_));
      return it != model.end() && it->is_object() ? &*it : nullptr;
    }
    auto list = ViewList(model, viewType_);
    return cursor_ < list.size() ? list[cursor_] : nullptr;
  }

  void MakeCurrent(json& model, const json& record) { model[CurrentKey(viewType_)] = record; }

  AutoValue Type(MemberCall&) { return std::int32_t{viewType_}; }
  AutoValue GetCurrentID(MemberCall& c) {
    const json* r = Record(c.model);
    return r == nullptr ? std::string() : FieldText(*r, kUniqueIdField);
  }
  AutoValue CurrentFieldId(MemberCall& c) {
    auto it = c.model.find("currentField");
    return std::int32_t{it != c.model.end() && it->is_number_integer() ? it->get<int>() : 0};
  }
  AutoValue GetField(MemberCall& c) {
    const json* r = Record(c.model);
    return r == nullptr ? std::string() : FieldText(*r, c.args[0].ToLong());
  }
  AutoValue SetField(MemberCall& c) {
    if (Record(c.model) == nullptr) return std::int32_t{1};
    json model = c.model;
    json* r = Record(model);
    (*r)[std::to_string(c.args[0].ToLong())] = Str(c.args, 1);
    json copy = *r;
    SyncCopies(model, viewType_, copy);
    file_->Save(model);
    return std::int32_t{0};
  }
  AutoValue GetActiveTab(MemberCall& c) {
    auto it = c.model.find("activeTab");
    return it != c.model.end() && it->is_string() ? it->get<std::string>() : std::string();
  }
  AutoValue SetActiveTab(MemberCall& c) {
    std::string tab = Str(c.args, 0);
    auto tabs = c.model.find("tabs");
    if (tabs != c.model.end()) {
      bool known = false;
      for (const json& t : *tabs) known = known || t.get<std::string>() == tab;
      if (!known) return std::int32_t{1};
    }
    json model = c.model;
    model["activeTab"] = tab;
    file_->Save(model);
    return std::int32_t{0};
  }
  AutoValue NotesHistory(MemberCall&) {
    return AutoObject(std::make_shared<StandInObject>(file_, Kind::kNotes));
  }
  AutoValue AttachFile(MemberCall& c) {
    std::string path = Str(c.args, 0);
    if (Record(c.model) == nullptr || !IsRegularFile(path)) return std::string();
    json model = c.model;
    if (!model.contains("notes")) model["notes"] = json::array();
    model["notes"].push_back({{"26", ""}, {"28", path}});
    file_->Save(model);
    return FileName(path);
  }

  // ---- the views created for list and group operations ----

  AutoValue Move(MemberCall& c) {
    cursor_ = c.name == "movefirst" ? 0 : cursor_ + 1;
    return {};
  }
  AutoValue GetCount(MemberCall& c) {
    return static_cast<std::int32_t>(ViewList(c.model, viewType_).size());
  }
  AutoValue LookupAll(MemberCall& c) {
    cursor_ = 0;
    if (c.model.contains("lookup")) {
      json model = c.model;
      model.erase("lookup");
      file_->Save(model);
    }
    return {};
  }
  AutoValue CreateLookup(MemberCall& c) {
    std::string ids = Str(c.args, 0);
    json lookup = json::array();
    for (size_t i = 0; i < ids.size(); i += 12) lookup.push_back(TrimSpaces(ids.substr(i, 12)));
    json model = c.model;
    model["lookup"] = lookup;
    cursor_ = 0;
    file_->Save(model);
    return {};
  }
  AutoValue GoTo(MemberCall& c) {
    std::string id = Str(c.args, 0);
    if (id.size() != 12) return std::int32_t{1};  // ACT! only knows 12-character IDs
    auto list = ViewList(c.model, viewType_);
    for (size_t i = 0; i < list.size(); ++i) {
      if (IdOf(*list[i]) == TrimSpaces(id)) return MoveTo(c.model, list, i);
    }
    return std::int32_t{1};
  }
  // Makes record `i` of `list` (the list of `model`) the current one.
  AutoValue MoveTo(const json& model, const std::vector<const json*>& list, size_t i) {
    cursor_ = i;
    json changed = model;
    MakeCurrent(changed, *list[i]);
    file_->Save(changed);
    return std::int32_t{0};
  }
  AutoValue AddNew(MemberCall& c) {
    json model = c.model;
    json record = {{std::to_string(kUniqueIdField), NewUniqueId(model)}};
    EnsureList(model, viewType_).push_back(record);
    MakeCurrent(model, record);
    model.erase("lookup");
    cursor_ = ViewList(model, viewType_).size() - 1;
    file_->Save(model);
    return std::int32_t{0};
  }
  AutoValue AddToGroup(MemberCall& c) {
    std::string id = Str(c.args, 0);
    if (id.size() != 12) return std::int32_t{1};
    json model = c.model;
    json* group = nullptr;
    if (c.name == "addcontacttogroup") {
      auto it = model.find("group");
      group = it != model.end() && it->is_object() ? &*it : nullptr;
    } else {
      group = Record(model);
    }
    if (group == nullptr) return std::int32_t{1};
    AddMember(*group, id);
    json copy = *group;
    SyncCopies(model, 3, copy);
    file_->Save(model);
    return std::int32_t{0};
  }
  AutoValue LookupFieldEx(MemberCall& c) {
    int field = c.args[0].ToLong();
    std::string wanted = Str(c.args, 1);
    auto list = ViewList(c.model, viewType_);
    for (size_t i = 0; i < list.size(); ++i) {
      if (FieldText(*list[i], field) == wanted) return MoveTo(c.model, list, i);
    }
    return std::int32_t{1};
  }
  AutoValue DeleteGroupFast(MemberCall& c) {
    const json* r = Record(c.model);
    if (r == nullptr) return std::int32_t{1};
    const std::string id = IdOf(*r);
    const json& removed = *r;  // in the model as read, which stays as it is
    json model = c.model;
    json& list = EnsureList(model, viewType_);
    for (size_t i = 0; i < list.size(); ++i) {
      if (list[i] == removed) {
        list.erase(i);
        break;
      }
    }
    auto current = model.find(CurrentKey(viewType_));
    if (current != model.end() && (*current == removed || (!id.empty() && IdOf(*current) == id))) {
      model.erase(CurrentKey(viewType_));
    }
    file_->Save(model);
    return std::int32_t{0};
  }

  // ---- notes and history ----

  // The notes rows of the model; a model without them has none.
  static const json& NotesOf(const json& model) {
    static const json kNone = json::array();
    auto it = model.find("notes");
    return it == model.end() ? kNone : *it;
  }
  // The number of row `v` of `notes`, which must be there.
  static size_t Row(const json& notes, const AutoValue& v) {
    std::int32_t i = v.ToLong();
    if (i < 0 || static_cast<size_t>(i) >= notes.size()) {
      throw RuntimeError(kBadIndex, "Invalid row " + std::to_string(i), kSource);
    }
    return static_cast<size_t>(i);
  }
  AutoValue GetRowCount(MemberCall& c) {
    return static_cast<std::int32_t>(NotesOf(c.model).size());
  }
  AutoValue GetRowNumber(MemberCall& c) {
    std::string attachment = Str(c.args, 0);
    const json& notes = NotesOf(c.model);
    for (size_t i = 0; i < notes.size(); ++i) {
      std::string path = FieldText(notes[i], 28);
      if (!path.empty() && FileName(path) == attachment) {
        return static_cast<std::int32_t>(i);
      }
    }
    return std::int32_t{-1};
  }
  AutoValue GetNotesField(MemberCall& c) {
    const json& notes = NotesOf(c.model);
    return FieldText(notes[Row(notes, c.args[1])], c.args[0].ToLong());
  }
  AutoValue SetNotesField(MemberCall& c) {
    const size_t row = Row(NotesOf(c.model), c.args[1]);
    json model = c.model;
    model["notes"][row][std::to_string(c.args[0].ToLong())] = Str(c.args, 2);
    file_->Save(model);
    return {};
  }

  FilePtr file_;
  Kind kind_;
  int viewType_;
  bool created_;
  size_t cursor_ = 0;
};

const Member StandInObject::kApplicationMembers[] = {
    {"getopendbname", 0, &StandInObject::ModelText},
    {"getuserid", 0, &StandInObject::ModelText},
    {"getcurrentusername", 0, &StandInObject::ModelText},
    {"views", kProperty, &StandInObject::GetViews},
    {"getversion", 1, &StandInObject::GetVersion},
    {"show", 1, &StandInObject::Show},
    {"opendb", 1, &StandInObject::OpenDB},
    {"closedb", 0, &StandInObject::CloseDB},
    {"command", 1, &StandInObject::Command},
};

const Member StandInObject::kViewsMembers[] = {
    {"getactive", 0, &StandInObject::GetActive},
    {"create", 2, &StandInObject::Create},
};

const Member StandInObject::kViewMembers[] = {
    {"type", kProperty, &StandInObject::Type},
    {"getcurrentid", 0, &StandInObject::GetCurrentID},
    {"currentfieldid", kProperty, &StandInObject::CurrentFieldId},
    {"getfield", 1, &StandInObject::GetField},
    {"setfield", 2, &StandInObject::SetField},
    {"getactivetab", 0, &StandInObject::GetActiveTab},
    {"setactivetab", 1, &StandInObject::SetActiveTab},
    {"noteshistory", kProperty, &StandInObject::NotesHistory},
    {"attachfile", 1, &StandInObject::AttachFile},
};

const Member StandInObject::kListViewMembers[] = {
    {"movefirst", 0, &StandInObject::Move},
    {"movenext", 0, &StandInObject::Move},
    {"getcount", 0, &StandInObject::GetCount},
    {"lookupall", 0, &StandInObject::LookupAll},
    {"createlookup", 1, &StandInObject::CreateLookup},
    {"goto", 1, &StandInObject::GoTo},
    {"addnewcontact", 0, &StandInObject::AddNew},
    {"addnew", 0, &StandInObject::AddNew},
    {"addcontacttogroup", 1, &StandInObject::AddToGroup},
    {"addmembertogroup", 1, &StandInObject::AddToGroup},
    {"lookupfieldex", 3, &StandInObject::LookupFieldEx},
    {"deletegroupfast", 0, &StandInObject::DeleteGroupFast},
};

const Member StandInObject::kNotesMembers[] = {
    {"getrowcount", 0, &StandInObject::GetRowCount},
    {"getrownumber", 1, &StandInObject::GetRowNumber},
    {"getfield", 2, &StandInObject::GetNotesField},
    {"setfield", 3, &StandInObject::SetNotesField},
};

// Whether `name` is the lower-case `lowerName` in any case.
bool IsNamed(std::string_view name, std::string_view lowerName) {
  if (name.size() != lowerName.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char ch =
        name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] - 'A' + 'a') : name[i];
    if (ch != lowerName[i]) return false;
  }
  return true;
}

template <size_t N>
const Member* Lookup(const Member (&table)[N], std::string_view name) {
  for (const Member& m : table) {
    if (IsNamed(name, m.name)) return &m;
  }
  return nullptr;
}

const Member* StandInObject::Find(std::string_view name) const {
  switch (kind_) {
    case Kind::kApplication:
      return Lookup(kApplicationMembers, name);
    case Kind::kViews:
      return Lookup(kViewsMembers, name);
    case Kind::kView: {
      const Member* m = Lookup(kViewMembers, name);
      return m != nullptr || !created_ ? m : Lookup(kListViewMembers, name);
    }
    case Kind::kNotes:
      return Lookup(kNotesMembers, name);
  }
  return nullptr;
}

class StandInHost : public clAutomationHost {
 public:
  explicit StandInHost(FilePtr file) : file_(std::move(file)) {}
  AutoObject CreateObject(const std::string& progId) override {
    if (EqualsIgnoringCase(progId, "ACTOLE.APPOBJECT")) {
      const StandInModel model = file_->Load();
      if (model->is_object()) {
        file_->CheckFail(*model, "CreateObject");
        return std::make_shared<StandInObject>(file_, Kind::kApplication);
      }
    }
    throw RuntimeError(kCannotCreateObject, "ActiveX component can't create object: " + progId,
                       kSource);
  }
  // No window messages wait here: the stand-in answers at once.
  void DoEvents() override {}

 private:
  FilePtr file_;
};

}  // namespace

ACTAutomation StandInAutomation(const std::string& path, StandInReads reads) {
  auto file = std::make_shared<const clStandInFile>(path, reads);
  return ACTAutomation{std::make_shared<StandInWindows>(file), std::make_shared<StandInHost>(file)};
}

}  // namespace vn
