// The COM side of the Windows library, driven through the SDK's interfaces as urlmon drives
// it: the class factory, the unload rule, the adapter's text conversions and its lifetime when
// the browser re-enters it from inside a sink call; and the info page's class as a script
// reaches it, by member name through IDispatch.
#include <windows.h>
#include <urlmon.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "act/win32/dispatch_object.h"
#include "handler/win32/identifiers.h"
#include "platform/com_ptr.h"
#include "platform/runtime_error.h"

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
STDAPI DllCanUnloadNow();

namespace {

using vn::win32::kClassProtocolHandler;

// What the browser's sink hears; the hooks let a test re-enter the protocol as urlmon does.
class RecordingSink final : public IInternetProtocolSink {
 public:
  virtual ~RecordingSink() = default;

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IInternetProtocolSink)) {
      *object = static_cast<IInternetProtocolSink*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references); }
  STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--references); }
  STDMETHODIMP Switch(PROTOCOLDATA*) override { return E_NOTIMPL; }
  STDMETHODIMP ReportProgress(ULONG status, LPCWSTR text) override {
    progress.push_back(std::to_wstring(status) + L" " + (text != nullptr ? text : L""));
    return S_OK;
  }
  STDMETHODIMP ReportData(DWORD flags, ULONG, ULONG) override {
    if (onData) onData(flags);
    return S_OK;
  }
  STDMETHODIMP ReportResult(HRESULT hr, DWORD, LPCWSTR text) override {
    results.push_back(hr);
    resultTexts.push_back(text != nullptr ? text : L"");
    if (onResult) onResult();
    return S_OK;
  }

  LONG references = 1;  // the test's own
  std::vector<std::wstring> progress;
  std::vector<HRESULT> results;
  std::vector<std::wstring> resultTexts;
  std::function<void(DWORD)> onData;
  std::function<void()> onResult;
};

IClassFactory* Factory() {
  IClassFactory* factory = nullptr;
  EXPECT_EQ(S_OK, DllGetClassObject(kClassProtocolHandler, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory)));
  return factory;
}

IInternetProtocol* NewProtocol() {
  IClassFactory* factory = Factory();
  IInternetProtocol* protocol = nullptr;
  EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IInternetProtocol,
                                          reinterpret_cast<void**>(&protocol)));
  factory->Release();
  return protocol;
}

// Reads until S_FALSE; the bytes delivered.
std::string ReadAll(IInternetProtocol* protocol, ULONG chunk = 4096) {
  std::string page;
  std::vector<char> buffer(chunk);
  for (int calls = 0; calls < 100000; ++calls) {
    ULONG count = 0;
    HRESULT hr = protocol->Read(buffer.data(), chunk, &count);
    page.append(buffer.data(), count);
    if (hr == S_FALSE) break;
    EXPECT_TRUE(hr == S_OK || hr == E_PENDING) << std::hex << hr;
  }
  return page;
}

TEST(ComAdapterWindowsTest, FactoryRefusesAggregationAndOtherClasses) {
  IClassFactory* factory = Factory();
  ASSERT_NE(nullptr, factory);
  IUnknown* made = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(CLASS_E_NOAGGREGATION,
            factory->CreateInstance(factory, IID_IUnknown, reinterpret_cast<void**>(&made)));
  EXPECT_EQ(nullptr, made);
  EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&made)));
  ASSERT_NE(nullptr, made);
  IDispatch* dispatch = nullptr;
  EXPECT_EQ(E_NOINTERFACE,
            made->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
  IInternetProtocolRoot* root = nullptr;
  EXPECT_EQ(S_OK, made->QueryInterface(IID_IInternetProtocolRoot, reinterpret_cast<void**>(&root)));
  root->Release();
  made->Release();
  factory->Release();

  void* other = nullptr;
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, DllGetClassObject(IID_IUnknown, IID_IClassFactory, &other));
  EXPECT_EQ(nullptr, other);
}

TEST(ComAdapterWindowsTest, InfoClassAnswersByNameAndKeepsTheLibraryLoaded) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(S_OK, DllGetClassObject(vn::win32::kClassInfo, IID_IClassFactory,
                                    reinterpret_cast<void**>(&factory)));
  vn::ComPtr<IDispatch> dispatch;
  EXPECT_EQ(CLASS_E_NOAGGREGATION,
            factory->CreateInstance(factory, IID_IDispatch,
                                    reinterpret_cast<void**>(dispatch.Receive())));
  EXPECT_FALSE(dispatch);
  ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch,
                                          reinterpret_cast<void**>(dispatch.Receive())));
  factory->Release();
  EXPECT_EQ(S_FALSE, DllCanUnloadNow());
  {
    vn::AutoObject info = vn::win32::ClientObjectOf(dispatch.get());
    EXPECT_EQ("Initialisierung<br>", info->Call("GetNext").ToText());
    EXPECT_TRUE(info->Call("Init", {std::string()}).As<bool>());
    EXPECT_EQ(100, info->GetProperty("ErrNumber").ToLong());
    EXPECT_EQ("", info->GetProperty("errdescription").ToText());
    const std::string titleBar = info->Call("GetNext").ToText();
    EXPECT_EQ(0u, titleBar.find("<SCRIPT  LANGUAGE=\"VBScript\" SRC=\"")) << titleBar;
    EXPECT_FALSE(info->GetProperty("Ready").As<bool>());
    EXPECT_NE(std::string::npos, info->Call("GetNext").ToText().find("Version "));
    EXPECT_EQ("", info->Call("GetNext").ToText());
    EXPECT_TRUE(info->GetProperty("Ready").As<bool>());
    try {
      info->Call("Gibtsnicht");
      ADD_FAILURE() << "an unknown member answered";
    } catch (const vn::RuntimeError& e) {
      EXPECT_EQ(vn::kDispUnknownName, e.Number());
    }
  }
  dispatch.reset();
  EXPECT_EQ(S_OK, DllCanUnloadNow());
}

TEST(ComAdapterWindowsTest, CanUnloadOnlyWithoutObjectsAndLocks) {
  EXPECT_EQ(S_OK, DllCanUnloadNow());
  IClassFactory* factory = Factory();
  EXPECT_EQ(S_FALSE, DllCanUnloadNow());
  factory->LockServer(TRUE);
  factory->Release();
  EXPECT_EQ(S_FALSE, DllCanUnloadNow());
  IInternetProtocol* protocol = NewProtocol();
  factory = Factory();
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(S_FALSE, DllCanUnloadNow());
  protocol->Release();
  EXPECT_EQ(S_OK, DllCanUnloadNow());
}

TEST(ComAdapterWindowsTest, UrlReachesTheCoreInUtf8AndTextsComeBackInUtf16) {
  RecordingSink sink;
  IInternetProtocol* protocol = NewProtocol();
  ASSERT_EQ(S_OK, protocol->Start(L"varnolis://Gr\u00FC\u00DFe/Stra\u00DFe", &sink, nullptr, 0, 0));
  const std::string page = ReadAll(protocol);
  // The page is written in the ANSI code page (1252): the command appears in message 153.
  EXPECT_NE(std::string::npos, page.find("'Gr\xFC\xDF"
                                         "e'"))
      << page;
  ASSERT_GE(sink.progress.size(), 2u);
  EXPECT_EQ(L"2 Info: Gr\u00FC\u00DFe Stra\u00DFe", sink.progress[1]);
  ASSERT_EQ(1u, sink.results.size());
  EXPECT_EQ(S_OK, sink.results[0]);
  EXPECT_EQ(L"0", sink.resultTexts[0]);
  EXPECT_EQ(S_OK, protocol->Terminate(0));
  EXPECT_EQ(1, sink.references);  // the adapter gave its reference back
  protocol->Release();
}

TEST(ComAdapterWindowsTest, BrowserReadsAndTerminatesFromInsideTheSink) {
  // As urlmon does: Read at once from ReportData, Terminate and the last Release from
  // ReportResult. The adapter must outlive the calls it is inside.
  RecordingSink sink;
  IInternetProtocol* protocol = NewProtocol();
  std::string page;
  bool inside = false;
  sink.onData = [&](DWORD) {
    if (inside || protocol == nullptr) return;
    inside = true;
    char buffer[512];
    ULONG count = 0;
    while (protocol != nullptr && protocol->Read(buffer, sizeof buffer, &count) == S_OK) {
      page.append(buffer, count);
    }
    inside = false;
  };
  sink.onResult = [&] {
    IInternetProtocol* last = protocol;
    protocol = nullptr;
    last->Terminate(0);
    last->Release();
  };
  ASSERT_EQ(S_OK, protocol->Start(L"varnolis://test", &sink, nullptr, 0, 0));
  for (int calls = 0; protocol != nullptr && calls < 100; ++calls) {
    char buffer[512];
    ULONG count = 0;
    IInternetProtocol* current = protocol;
    current->AddRef();
    current->Read(buffer, sizeof buffer, &count);
    page.append(buffer, count);
    current->Release();
  }
  EXPECT_EQ(nullptr, protocol);
  EXPECT_NE(std::string::npos, page.find("<b>Testbefehl von Varnolis</b>\r\n")) << page;
  EXPECT_EQ(1, sink.references);
  EXPECT_EQ(S_OK, DllCanUnloadNow());
}

TEST(ComAdapterWindowsTest, MissingTempFolderFailsStart) {
  wchar_t saved[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"TMP", saved, MAX_PATH), 0u);
  SetEnvironmentVariableW(L"TMP", L"C:\\varnolis-no-such-folder");
  RecordingSink sink;
  IInternetProtocol* protocol = NewProtocol();
  EXPECT_EQ(INET_E_DOWNLOAD_FAILURE, protocol->Start(L"varnolis://test", &sink, nullptr, 0, 0));
  SetEnvironmentVariableW(L"TMP", saved);
  ASSERT_EQ(1u, sink.results.size());
  EXPECT_EQ(INET_E_DOWNLOAD_FAILURE, sink.results[0]);
  EXPECT_EQ(L"0", sink.resultTexts[0]);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"C:\\varnolis-no-such-folder"));
  protocol->Terminate(0);
  protocol->Release();
}

}  // namespace
