// The test ACT!: a Windows program that plays the contact manager for the tests under Wine. It
// serves "ACTOLE.APPOBJECT" out of process, answering every member from the ACT! stand-in's
// JSON state through the stand-in's own code, and shows the state's top-level windows.
//
//   test_act.exe --register | --unregister   the class for this user (HKCU\Software\Classes;
//                                             under Wine also HKCR, which its COM reads)
//   test_act.exe STATE.json                   runs on that state (-Embedding: VARNOLIS_ACT)
//   test_act.exe --reload | --count | --quit  controls the running one: windows made afresh
//                                             from the state / served objects still alive / end
//   test_act.exe --calls                      the automation calls served since last asked
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

#include "act/act_standin.h"
#include "act/standin_file.h"
#include "act/win32/dispatch_server.h"
#include "platform/com_ptr.h"
#include "platform/runtime_error.h"
#include "platform/win32/registry_key.h"
#include "platform/win32/wide.h"
#include "tests/act/logging_automation.h"
#include "tests/windows/test_act/control.h"

namespace {

using vn::win32::Narrow;
using vn::win32::Widen;

constexpr wchar_t kProgId[] = L"ACTOLE.APPOBJECT";
// The test ACT!'s own class id, registered in the test prefix only.
constexpr CLSID kClassId = {
    0x5e1a5c2b, 0x7f4d, 0x4c1e, {0x9b, 0x3a, 0x2d, 0x6f, 0x8e, 0x0a, 0x1c, 0x47}};
constexpr wchar_t kClassIdText[] = L"{5E1A5C2B-7F4D-4C1E-9B3A-2D6F8E0A1C47}";
constexpr wchar_t kClassesKey[] = L"Software\\Classes\\";
constexpr const wchar_t* kControlClass = vn::test::kTestActControlClass;
constexpr wchar_t kDefaultWindowClass[] = L"VarnolisTestActWindow";
constexpr UINT kReload = vn::test::kTestActReload;
constexpr UINT kCount = vn::test::kTestActCount;
constexpr UINT kQuit = vn::test::kTestActQuit;
constexpr UINT kCalls = vn::test::kTestActCalls;

// Every call served, as a test asks for their number: the objects created and what was asked of
// them. The server has one thread, its apartment's.
std::shared_ptr<vn::test::CallLog> g_calls = std::make_shared<vn::test::CallLog>();

std::wstring ModuleFile() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) return path.substr(0, n);
    path.resize(path.size() * 2);
  }
}

// Wine's COM (8.0) looks classes up in the machine's HKEY_CLASSES_ROOT only, not in the user's
// Software\Classes that Windows merges into it.
bool UnderWine() {
  HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The class's keys below `root` + `prefix`: the ProgID, and the class id with its server.
bool WriteClass(HKEY root, const std::wstring& prefix) {
  vn::win32::UniqueKey progId;
  vn::win32::UniqueKey clsid;
  vn::win32::UniqueKey server;
  vn::win32::UniqueKey serverProgId;
  const std::wstring classKey = prefix + L"CLSID\\" + kClassIdText;
  return progId.Create(root, prefix + kProgId + L"\\CLSID") && progId.SetText(L"", kClassIdText) &&
         clsid.Create(root, classKey) && clsid.SetText(L"", L"ACT! for the Varnolis tests") &&
         server.Create(root, classKey + L"\\LocalServer32") &&
         server.SetText(L"", L"\"" + ModuleFile() + L"\"") &&
         serverProgId.Create(root, classKey + L"\\ProgID") && serverProgId.SetText(L"", kProgId);
}

bool RemoveClass(HKEY root, const std::wstring& prefix) {
  return vn::win32::DeleteRegistryTree(root, prefix + kProgId) &&
         vn::win32::DeleteRegistryTree(root, prefix + L"CLSID\\" + kClassIdText);
}

int Register() {
  if (!WriteClass(HKEY_CURRENT_USER, kClassesKey) ||
      (UnderWine() && !WriteClass(HKEY_CLASSES_ROOT, L""))) {
    std::fprintf(stderr, "test_act: cannot register ACTOLE.APPOBJECT\n");
    return 1;
  }
  return 0;
}

int Unregister() {
  const bool user = RemoveClass(HKEY_CURRENT_USER, kClassesKey);
  const bool machine = !UnderWine() || RemoveClass(HKEY_CLASSES_ROOT, L"");
  return user && machine ? 0 : 1;
}

// The running test ACT!'s answer to one control message.
int Control(UINT message, bool print) {
  HWND control = ::FindWindowExW(HWND_MESSAGE, nullptr, kControlClass, nullptr);
  if (control == nullptr) {
    std::fprintf(stderr, "test_act: no test ACT! is running\n");
    return 1;
  }
  DWORD_PTR answer = 0;
  if (::SendMessageTimeoutW(control, message, 0, 0, SMTO_ABORTIFHUNG, 30000, &answer) == 0) {
    std::fprintf(stderr, "test_act: the test ACT! does not answer\n");
    return 1;
  }
  if (print) std::printf("%ld\n", static_cast<long>(answer));
  return 0;
}

// The state's top-level windows, made afresh on every Rebuild.
class ActWindows {
 public:
  explicit ActWindows(std::string statePath) : state_(std::move(statePath)) {}
  ~ActWindows() { Destroy(); }
  ActWindows(const ActWindows&) = delete;
  ActWindows& operator=(const ActWindows&) = delete;

  void Rebuild() {
    Destroy();
    nlohmann::json model;
    try {
      model = *state_.Load();
    } catch (const vn::RuntimeError& e) {
      // A state the stand-in cannot read shows no window; the members report it when called.
      std::fprintf(stderr, "test_act: %s\n", e.Description().c_str());
      return;
    }
    if (!model.is_object() || !model.contains("windows")) return;
    const nlohmann::json& list = model["windows"];
    // A new window goes to the top of the order, so the last one is made first: EnumWindows
    // then lists them in the state's order.
    for (size_t i = list.size(); i-- > 0;) {
      const nlohmann::json& w = list[i];
      std::wstring className = Widen(w.value("class", std::string()));
      if (className.empty()) className = kDefaultWindowClass;
      Make(className, Widen(w.value("title", std::string())), w.value("visible", true));
    }
  }

 private:
  void Make(const std::wstring& className, const std::wstring& title, bool visible) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className.c_str();
    if (::RegisterClassExW(&windowClass) != 0) classes_.push_back(className);
    HWND hwnd =
        ::CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                          CW_USEDEFAULT, 400, 300, nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
      std::fprintf(stderr, "test_act: cannot make the window %s\n", Narrow(title).c_str());
      return;
    }
    windows_.push_back(hwnd);
    if (visible) ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  }

  void Destroy() {
    for (HWND hwnd : windows_) ::DestroyWindow(hwnd);
    windows_.clear();
    // The classes go too, so that a class name spelt differently in the next state is shown as
    // that state spells it.
    for (const std::wstring& name : classes_)
      ::UnregisterClassW(name.c_str(), ::GetModuleHandleW(nullptr));
    classes_.clear();
  }

  vn::clStandInFile state_;
  std::vector<HWND> windows_;
  std::vector<std::wstring> classes_;
};

// Hands out a new application object for every CoCreateInstance, as ACT! does; the stand-in's
// own failures of CreateObject reach the client as the creation's result.
class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(std::string statePath) : state_(std::move(statePath)) {}
  virtual ~ClassFactory() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *object = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives as long as the program's main function.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    try {
      vn::AutoObject application = std::make_shared<vn::test::LoggingObject>(
          vn::StandInAutomation(state_).host->CreateObject(Narrow(kProgId)), g_calls);
      ++g_calls->objectsCreated;
      vn::ComPtr<IDispatch> dispatch = vn::win32::ServedDispatchOf(application);
      return dispatch->QueryInterface(riid, object);
    } catch (const vn::RuntimeError& e) {
      // An error number that is no failure code (429 when there is no state) is a component
      // that cannot run.
      return e.Number() < 0 ? static_cast<HRESULT>(e.Number()) : CO_E_SERVER_EXEC_FAILURE;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  std::string state_;
};

// Holds one marshalled IDispatch of the server for its whole life. Wine (8.0) takes the RPC
// interface of IDispatch down when the last object served through it is released, and waits
// for the calls on it to end while one of them waits for this very thread: with one stub that
// never goes, the interface stays and the release cannot hang the test ACT!. Not counted as a
// served object.
class KeepAlive final : public IDispatch {
 public:
  KeepAlive() {
    vn::ComPtr<IStream> owner;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, owner.Receive()))) return;
    if (SUCCEEDED(::CoMarshalInterface(owner.get(), IID_IDispatch, static_cast<IDispatch*>(this),
                                       MSHCTX_LOCAL, nullptr, MSHLFLAGS_TABLESTRONG))) {
      stream_ = std::move(owner);
    }
  }
  virtual ~KeepAlive() {
    if (!stream_) return;
    LARGE_INTEGER start{};
    stream_->Seek(start, STREAM_SEEK_SET, nullptr);
    ::CoReleaseMarshalData(stream_.get());
  }
  KeepAlive(const KeepAlive&) = delete;
  KeepAlive& operator=(const KeepAlive&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *object = static_cast<IDispatch*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives as long as the serving function.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  vn::ComPtr<IStream> stream_;
};

ActWindows* g_windows = nullptr;

LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kReload:
      g_windows->Rebuild();
      return 1;
    case kCount:
      return vn::win32::DispatchServer::Live();
    case kCalls: {
      const LRESULT calls = static_cast<LRESULT>(g_calls->calls.size()) + g_calls->objectsCreated;
      *g_calls = {};
      return calls;
    }
    case kQuit:
      ::PostQuitMessage(0);
      return 1;
    default:
      return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

int Serve(const std::string& statePath) {
  if (::FindWindowExW(HWND_MESSAGE, nullptr, kControlClass, nullptr) != nullptr) {
    std::fprintf(stderr, "test_act: a test ACT! is running already\n");
    return 1;
  }
  HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(com)) return 1;
  int status = 0;
  {
    KeepAlive keepAlive;
    ActWindows windows(statePath);
    g_windows = &windows;
    windows.Rebuild();
    ClassFactory factory(statePath);
    DWORD cookie = 0;
    HRESULT hr = ::CoRegisterClassObject(kClassId, &factory, CLSCTX_LOCAL_SERVER,
                                         REGCLS_MULTIPLEUSE, &cookie);
    WNDCLASSEXW controlClass{};
    controlClass.cbSize = sizeof controlClass;
    controlClass.lpfnWndProc = ControlProc;
    controlClass.hInstance = ::GetModuleHandleW(nullptr);
    controlClass.lpszClassName = kControlClass;
    // The control window comes last: once it can be found, the test ACT! answers.
    HWND control = nullptr;
    if (SUCCEEDED(hr) && ::RegisterClassExW(&controlClass) != 0) {
      control = ::CreateWindowExW(0, kControlClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  controlClass.hInstance, nullptr);
    }
    if (control == nullptr) {
      std::fprintf(stderr, "test_act: cannot serve ACTOLE.APPOBJECT (0x%08lX)\n",
                   static_cast<unsigned long>(hr));
      status = 1;
    } else {
      MSG message;
      while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
      ::DestroyWindow(control);
    }
    if (SUCCEEDED(hr)) ::CoRevokeClassObject(cookie);
    g_windows = nullptr;
  }
  ::CoUninitialize();
  return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr,
                 "usage: test_act.exe --register | --unregister | STATE.json | -Embedding | "
                 "--reload | --count | --calls | --quit\n");
    return 2;
  }
  const std::wstring argument = argv[1];
  if (argument == L"--register") return Register();
  if (argument == L"--unregister") return Unregister();
  if (argument == L"--reload") return Control(kReload, false);
  if (argument == L"--count") return Control(kCount, true);
  if (argument == L"--calls") return Control(kCalls, true);
  if (argument == L"--quit") return Control(kQuit, false);
  // Started by COM: the state is the one the stand-in would read (VARNOLIS_ACT).
  if (argument == L"-Embedding" || argument == L"/Embedding") return Serve({});
  return Serve(Narrow(argument));
}
