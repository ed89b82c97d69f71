#include "act/act_standin.h"

#include <sys/stat.h>

#include "act/standin_file.h"
#include "platform/codepage.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace vn {
namespace {

using nlohmann::json;

constexpr long kDisconnected = -2147417848;  // RPC_E_DISCONNECTED
constexpr long kBadIndex = -2147352565;      // DISP_E_BADINDEX
constexpr const char* kSource = "ACT! stand-in";
constexpr int kUniqueIdField = 1;

using FilePtr = std::shared_ptr<const clStandInFile>;

// ---- the window list ------------------------------------------------------------------------

class StandInWindows : public clWindowList {
 public:
  explicit StandInWindows(FilePtr file) : file_(std::move(file)) {}

  // The list is taken from the file once per enumeration, as the desktop would list its windows.
  std::vector<WindowHandle> EnumWindows() override {
    snapshot_.clear();
    json model = file_->Load();
    std::vector<WindowHandle> handles;
    if (!model.is_object() || !model.contains("windows")) return handles;
    for (const json& w : model["windows"]) {
      Window window;
      window.visible = w.value("visible", true);
      window.className = w.value("class", std::string());
      window.title = w.value("title", std::string());
      snapshot_.push_back(std::move(window));
      handles.push_back(snapshot_.size());
    }
    return handles;
  }
  bool IsWindowVisible(WindowHandle hwnd) override {
    const Window* w = Find(hwnd);
    return w != nullptr && w->visible;
  }
  bool IsWindow(WindowHandle hwnd) override { return Find(hwnd) != nullptr; }
  std::string GetClassName(WindowHandle hwnd) override {
    const Window* w = Find(hwnd);
    return w == nullptr ? std::string() : w->className;
  }
  int GetWindowTextLength(WindowHandle hwnd) override {
    const Window* w = Find(hwnd);
    if (w == nullptr) return 0;
    int n = 0;
    for (size_t pos = 0; pos < w->title.size(); ++n) DecodeUtf8(w->title, pos);
    return n;
  }
  std::string GetWindowText(WindowHandle hwnd) override {
    const Window* w = Find(hwnd);
    return w == nullptr ? std::string() : w->title;
  }

 private:
  struct Window {
    bool visible = true;
    std::string className;
    std::string title;
  };
  const Window* Find(WindowHandle hwnd) const {
    if (hwnd == 0 || hwnd > snapshot_.size()) return nullptr;
    return &snapshot_[hwnd - 1];
  }
  FilePtr file_;
  std::vector<Window> snapshot_;
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
// when the file has no list. The contact list honours the current look-up.
std::vector<json*> ViewList(json& model, int viewType) {
  std::vector<json*> list;
  auto it = model.find(ListKey(viewType));
  if (it == model.end()) {
    auto current = model.find(CurrentKey(viewType));
    if (current != model.end() && current->is_object()) list.push_back(&*current);
    return list;
  }
  const json* lookup = nullptr;
  if (viewType == 1 && model.contains("lookup")) lookup = &model["lookup"];
  for (json& record : *it) {
    if (lookup != nullptr) {
      bool wanted = false;
      for (const json& id : *lookup) wanted = wanted || TrimSpaces(id.get<std::string>()) == IdOf(record);
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

std::string NewUniqueId(json& model) {
  long next = model.value("nextId", 1L);
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

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
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

class StandInObject : public clAutomationObject, public std::enable_shared_from_this<StandInObject> {
 public:
  StandInObject(FilePtr file, Kind kind, int viewType = 0, bool created = false)
      : file_(std::move(file)), kind_(kind), viewType_(viewType), created_(created) {}

  AutoValue Invoke(const std::string& member, std::vector<AutoValue>& args) override {
    json model = file_->Load();
    if (!model.is_object()) {
      throw RuntimeError(kDisconnected, "ACT! is no longer running (" + file_->Path() + ")",
                         kSource);
    }
    file_->CheckFail(model, member);
    const std::string name = LowerAscii(member);
    switch (kind_) {
      case Kind::kApplication: return Application(model, name, member, args);
      case Kind::kViews: return Views(model, name, member, args);
      case Kind::kView: return View(model, name, member, args);
      case Kind::kNotes: return Notes(model, name, member, args);
    }
    return {};
  }
  AutoValue GetProperty(const std::string& member) override {
    std::vector<AutoValue> none;
    return Invoke(member, none);
  }
  void PutProperty(const std::string& member, const AutoValue&) override { Unknown(member); }

  void SetCursor(size_t cursor) { cursor_ = cursor; }

 private:
  [[noreturn]] static void Unknown(const std::string& member) {
    throw RuntimeError(kDispUnknownName, "Unknown name: " + member, kSource);
  }

  AutoValue Application(json& model, const std::string& name, const std::string& member,
                        std::vector<AutoValue>& args) {
    if (name == "getopendbname" || name == "getuserid" || name == "getcurrentusername") {
      ExpectArgs(args, 0, member);
      const char* key = name == "getopendbname" ? "database"
                        : name == "getuserid"   ? "userId"
                                                : "userName";
      return model.value(key, json()).is_string() ? model[key].get<std::string>() : std::string();
    }
    if (name == "views") return AutoObject(std::make_shared<StandInObject>(file_, Kind::kViews));
    if (name == "getversion") {
      ExpectArgs(args, 1, member);
      return model.value("version", std::string());
    }
    if (name == "show") {
      ExpectArgs(args, 1, member);
      return {};
    }
    if (name == "opendb") {
      ExpectArgs(args, 1, member);
      model["database"] = Str(args, 0);
      file_->Save(model);
      return {};
    }
    if (name == "closedb") {
      ExpectArgs(args, 0, member);
      if (!model.value("database", json()).is_string() || model["database"].get<std::string>().empty()) {
        return std::int32_t{1};  // nothing to close
      }
      model["database"] = nullptr;
      file_->Save(model);
      return std::int32_t{0};
    }
    if (name == "command") {
      ExpectArgs(args, 1, member);
      if (!model.contains("commands")) model["commands"] = json::array();
      model["commands"].push_back(args[0].ToLong());
      file_->Save(model);
      return {};
    }
    Unknown(member);
  }

  AutoValue Views(json& model, const std::string& name, const std::string& member,
                  std::vector<AutoValue>& args) {
    if (name == "getactive") {
      ExpectArgs(args, 0, member);
      auto it = model.find("activeView");
      if (it == model.end() || !it->is_number_integer()) return AutoObject();
      return AutoObject(std::make_shared<StandInObject>(file_, Kind::kView, it->get<int>(), false));
    }
    if (name == "create") {
      ExpectArgs(args, 2, member);
      int type = args[0].ToLong();
      if (args[1].Is<std::string>()) {  // switches ACT! to a view of that type
        model["activeView"] = type;
        file_->Save(model);
        return {};
      }
      auto view = std::make_shared<StandInObject>(file_, Kind::kView, type, true);
      // A new view shows the current record.
      auto list = ViewList(model, type);
      const std::string currentId = IdOf(model.value(CurrentKey(type), json()));
      for (size_t i = 0; i < list.size(); ++i) {
        if (!currentId.empty() && IdOf(*list[i]) == currentId) view->SetCursor(i);
      }
      return AutoObject(view);
    }
    Unknown(member);
  }

  // The record this view shows, or null.
  json* Record(json& model) {
    if (!created_) {
      auto it = model.find(CurrentKey(viewType_));
      return it != model.end() && it->is_object() ? &*it : nullptr;
    }
    auto list = ViewList(model, viewType_);
    return cursor_ < list.size() ? list[cursor_] : nullptr;
  }

  void MakeCurrent(json& model, const json& record) { model[CurrentKey(viewType_)] = record; }

  AutoValue View(json& model, const std::string& name, const std::string& member,
                 std::vector<AutoValue>& args) {
    if (name == "type") return std::int32_t{viewType_};
    if (name == "getcurrentid") {
      ExpectArgs(args, 0, member);
      json* r = Record(model);
      return r == nullptr ? std::string() : FieldText(*r, kUniqueIdField);
    }
    if (name == "currentfieldid") return std::int32_t{model.value("currentField", json(0)).is_number_integer()
                                                          ? model["currentField"].get<int>() : 0};
    if (name == "getfield") {
      ExpectArgs(args, 1, member);
      json* r = Record(model);
      return r == nullptr ? std::string() : FieldText(*r, args[0].ToLong());
    }
    if (name == "setfield") {
      ExpectArgs(args, 2, member);
      json* r = Record(model);
      if (r == nullptr) return std::int32_t{1};
      (*r)[std::to_string(args[0].ToLong())] = Str(args, 1);
      json copy = *r;
      SyncCopies(model, viewType_, copy);
      file_->Save(model);
      return std::int32_t{0};
    }
    if (name == "getactivetab") {
      ExpectArgs(args, 0, member);
      return model.value("activeTab", json()).is_string() ? model["activeTab"].get<std::string>()
                                                          : std::string();
    }
    if (name == "setactivetab") {
      ExpectArgs(args, 1, member);
      std::string tab = Str(args, 0);
      if (model.contains("tabs")) {
        bool known = false;
        for (const json& t : model["tabs"]) known = known || t.get<std::string>() == tab;
        if (!known) return std::int32_t{1};
      }
      model["activeTab"] = tab;
      file_->Save(model);
      return std::int32_t{0};
    }
    if (name == "noteshistory") return AutoObject(std::make_shared<StandInObject>(file_, Kind::kNotes));
    if (name == "attachfile") {
      ExpectArgs(args, 1, member);
      std::string path = Str(args, 0);
      if (Record(model) == nullptr || !IsRegularFile(path)) return std::string();
      if (!model.contains("notes")) model["notes"] = json::array();
      model["notes"].push_back({{"26", ""}, {"28", path}});
      file_->Save(model);
      return path.substr(path.find_last_of('/') + 1);
    }
    if (!created_) Unknown(member);
    return ListView(model, name, member, args);
  }

  // Members of the views created for list and group operations.
  AutoValue ListView(json& model, const std::string& name, const std::string& member,
                     std::vector<AutoValue>& args) {
    if (name == "movefirst" || name == "movenext") {
      ExpectArgs(args, 0, member);
      cursor_ = name == "movefirst" ? 0 : cursor_ + 1;
      return {};
    }
    if (name == "getcount") {
      ExpectArgs(args, 0, member);
      return static_cast<std::int32_t>(ViewList(model, viewType_).size());
    }
    if (name == "lookupall") {
      ExpectArgs(args, 0, member);
      cursor_ = 0;
      if (model.erase("lookup") > 0) file_->Save(model);
      return {};
    }
    if (name == "createlookup") {
      ExpectArgs(args, 1, member);
      std::string ids = Str(args, 0);
      json lookup = json::array();
      for (size_t i = 0; i < ids.size(); i += 12) lookup.push_back(TrimSpaces(ids.substr(i, 12)));
      model["lookup"] = lookup;
      cursor_ = 0;
      file_->Save(model);
      return {};
    }
    if (name == "goto") {
      ExpectArgs(args, 1, member);
      std::string id = Str(args, 0);
      if (id.size() != 12) return std::int32_t{1};  // ACT! only knows 12-character IDs
      auto list = ViewList(model, viewType_);
      for (size_t i = 0; i < list.size(); ++i) {
        if (IdOf(*list[i]) == TrimSpaces(id)) {
          cursor_ = i;
          MakeCurrent(model, *list[i]);
          file_->Save(model);
          return std::int32_t{0};
        }
      }
      return std::int32_t{1};
    }
    if (name == "addnewcontact" || name == "addnew") {
      ExpectArgs(args, 0, member);
      json record = {{std::to_string(kUniqueIdField), NewUniqueId(model)}};
      EnsureList(model, viewType_).push_back(record);
      MakeCurrent(model, record);
      model.erase("lookup");
      cursor_ = ViewList(model, viewType_).size() - 1;
      file_->Save(model);
      return std::int32_t{0};
    }
    if (name == "addcontacttogroup" || name == "addmembertogroup") {
      ExpectArgs(args, 1, member);
      std::string id = Str(args, 0);
      if (id.size() != 12) return std::int32_t{1};
      json* group = nullptr;
      if (name == "addcontacttogroup") {
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
    if (name == "lookupfieldex") {
      ExpectArgs(args, 3, member);
      int field = args[0].ToLong();
      std::string wanted = Str(args, 1);
      auto list = ViewList(model, viewType_);
      for (size_t i = 0; i < list.size(); ++i) {
        if (FieldText(*list[i], field) == wanted) {
          cursor_ = i;
          MakeCurrent(model, *list[i]);
          file_->Save(model);
          return std::int32_t{0};
        }
      }
      return std::int32_t{1};
    }
    if (name == "deletegroupfast") {
      ExpectArgs(args, 0, member);
      json* r = Record(model);
      if (r == nullptr) return std::int32_t{1};
      const std::string id = IdOf(*r);
      const json removed = *r;
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
    Unknown(member);
  }

  AutoValue Notes(json& model, const std::string& name, const std::string& member,
                  std::vector<AutoValue>& args) {
    json empty = json::array();
    json& notes = model.contains("notes") ? model["notes"] : empty;
    auto row = [&](const AutoValue& v) -> json& {
      std::int32_t i = v.ToLong();
      if (i < 0 || static_cast<size_t>(i) >= notes.size()) {
        throw RuntimeError(kBadIndex, "Invalid row " + std::to_string(i), kSource);
      }
      return notes[static_cast<size_t>(i)];
    };
    if (name == "getrowcount") {
      ExpectArgs(args, 0, member);
      return static_cast<std::int32_t>(notes.size());
    }
    if (name == "getrownumber") {
      ExpectArgs(args, 1, member);
      std::string attachment = Str(args, 0);
      for (size_t i = 0; i < notes.size(); ++i) {
        std::string path = FieldText(notes[i], 28);
        if (!path.empty() && path.substr(path.find_last_of('/') + 1) == attachment) {
          return static_cast<std::int32_t>(i);
        }
      }
      return std::int32_t{-1};
    }
    if (name == "getfield") {
      ExpectArgs(args, 2, member);
      return FieldText(row(args[1]), args[0].ToLong());
    }
    if (name == "setfield") {
      ExpectArgs(args, 3, member);
      row(args[1])[std::to_string(args[0].ToLong())] = Str(args, 2);
      file_->Save(model);
      return {};
    }
    Unknown(member);
  }

  FilePtr file_;
  Kind kind_;
  int viewType_;
  bool created_;
  size_t cursor_ = 0;
};

class StandInHost : public clAutomationHost {
 public:
  explicit StandInHost(FilePtr file) : file_(std::move(file)) {}
  AutoObject CreateObject(const std::string& progId) override {
    if (EqualsIgnoringCase(progId, "ACTOLE.APPOBJECT")) {
      json model = file_->Load();
      if (model.is_object()) {
        file_->CheckFail(model, "CreateObject");
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

ACTAutomation StandInAutomation(const std::string& path) {
  auto file = std::make_shared<const clStandInFile>(path);
  return ACTAutomation{std::make_shared<StandInWindows>(file), std::make_shared<StandInHost>(file)};
}

}  // namespace vn
