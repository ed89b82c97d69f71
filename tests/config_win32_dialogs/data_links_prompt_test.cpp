// The connection button's data-link dialog on Windows: the exchange of ADODB.Connection objects
// with a stand-in for DataLinks, what the user is told when the dialog cannot be had, and the
// system's own dialog under Wine, opened and cancelled (its caption there is
// "Datenverbindungseigenschaften" in a German prefix).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "config/win32/dialogs/ado_connection.h"
#include "dialog_closer.h"
#include "config/win32/dialogs/data_links_prompt.h"
#include "platform/runtime_error.h"
#include "platform/win32/com_apartment.h"
#include "platform/win32/wide.h"

namespace {

using vn::ComPtr;
using vn::config::win32::AdoConnection;
using vn::config::win32::CompatibleLong;
using vn::config::win32::DataLinksPrompt;
using vn::config::win32::IDataSourceLocator;

// Plays DataLinks: answers PromptNew and PromptEdit as it is told and records what it got.
class StandInLocator : public IDataSourceLocator {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch ||
        iid == vn::config::win32::kIidDataSourceLocator) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE get_hWnd(CompatibleLong* parent) override {
    *parent = owner;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_hWnd(CompatibleLong parent) override {
    owner = parent;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PromptNew(IDispatch** connection) override {
    *connection = nullptr;
    if (failure != S_OK) return failure;
    if (answer.empty()) return S_FALSE;  // cancelled
    AdoConnection created = AdoConnection::Create();
    created.SetConnectionString(answer);
    *connection = created.Dispatch();
    (*connection)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE PromptEdit(IDispatch** connection, VARIANT_BOOL* success) override {
    if (failure != S_OK) return failure;
    edited = AdoConnection(ComPtr<IDispatch>::Share(*connection)).ConnectionString();
    *success = answer.empty() ? VARIANT_FALSE : VARIANT_TRUE;
    if (answer.empty()) return S_OK;
    if (replace) {
      // A dialog may give back a new object in place of the one it was handed.
      AdoConnection other = AdoConnection::Create();
      other.SetConnectionString(answer);
      (*connection)->Release();
      *connection = other.Dispatch();
      (*connection)->AddRef();
    } else {
      AdoConnection(ComPtr<IDispatch>::Share(*connection)).SetConnectionString(answer);
    }
    return S_OK;
  }

  ULONG references = 1;
  CompatibleLong owner = 0;
  HRESULT failure = S_OK;
  std::string answer;  // empty: the user cancels
  bool replace = false;
  std::string edited;  // the connection string PromptEdit was handed
};

class DataLinksPromptWindowsTest : public ::testing::Test {
 protected:
  DataLinksPrompt Prompt(HWND owner = nullptr) {
    return DataLinksPrompt(
        owner, [this](const std::string& text) { told.push_back(text); },
        [this] { return ComPtr<IDataSourceLocator>::Share(&locator); });
  }

  vn::win32::ComApartment apartment;
  StandInLocator locator;
  std::vector<std::string> told;
};

TEST_F(DataLinksPromptWindowsTest, PromptNewGivesTheNewConnectionsStringOrNothingWhenCancelled) {
  const std::string built = "Provider=MSDASQL.1;Data Source=Kunden;User ID=kasse";
  locator.answer = built;
  EXPECT_EQ(Prompt().PromptNew(), built);
  locator.answer.clear();
  EXPECT_EQ(Prompt().PromptNew(), std::nullopt);
  EXPECT_TRUE(told.empty()) << told.front();
  EXPECT_EQ(locator.references, 1u);
}

TEST_F(DataLinksPromptWindowsTest, PromptEditHandsTheFieldsTextOverAndTakesTheConfirmedEdit) {
  const std::string field = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Daten\\kunden.mdb";
  const std::string changed = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=D:\\kunden.mdb";
  locator.answer = changed;
  EXPECT_EQ(Prompt().PromptEdit(field), changed);
  EXPECT_EQ(locator.edited, field);

  locator.replace = true;
  EXPECT_EQ(Prompt().PromptEdit(field), changed);

  locator.answer.clear();  // not confirmed
  EXPECT_EQ(Prompt().PromptEdit(field), std::nullopt);
  EXPECT_TRUE(told.empty()) << told.front();
  EXPECT_EQ(locator.references, 1u);
}

TEST_F(DataLinksPromptWindowsTest, TheOwnerWindowReachesTheDialogWhole) {
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"Besitzer", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  locator.answer = "DSN=Kunden";
  Prompt(owner).PromptNew();
  EXPECT_EQ(reinterpret_cast<HWND>(static_cast<INT_PTR>(locator.owner)), owner);
  ::DestroyWindow(owner);
}

TEST_F(DataLinksPromptWindowsTest, ADialogThatCannotBeHadIsToldAndGivesNothing) {
  const std::string expected =
      "Der Datenverknüpfungs-Assistent kann nicht geöffnet werden:\n"
      "Klasse nicht registriert\n\nDie Verbindung bleibt unverändert.";
  DataLinksPrompt missing(
      nullptr, [this](const std::string& text) { told.push_back(text); },
      []() -> ComPtr<IDataSourceLocator> {
        throw vn::RuntimeError(REGDB_E_CLASSNOTREG, "Klasse nicht registriert");
      });
  EXPECT_EQ(missing.PromptNew(), std::nullopt);
  EXPECT_EQ(missing.PromptEdit("DSN=Kunden"), std::nullopt);
  EXPECT_EQ(told, std::vector<std::string>({expected, expected}));

  // A dialog that fails once it is there (as Wine's PromptEdit does) is told as well.
  told.clear();
  locator.failure = E_NOTIMPL;
  EXPECT_EQ(Prompt().PromptNew(), std::nullopt);
  EXPECT_EQ(Prompt().PromptEdit("DSN=Kunden"), std::nullopt);
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0].rfind("Der Datenverknüpfungs-Assistent kann nicht geöffnet werden:\n", 0), 0u);
}

TEST_F(DataLinksPromptWindowsTest, TheSystemsDialogOpensAndIsCancelled) {
  DialogCloser cancel(IDCANCEL);
  DataLinksPrompt system(nullptr, [this](const std::string& text) { told.push_back(text); });
  const std::optional<std::string> result = system.PromptNew();
  EXPECT_TRUE(told.empty()) << told.front();
  EXPECT_FALSE(cancel.Caption().empty()) << "no dialog window of the thread appeared";
  EXPECT_EQ(result, std::nullopt);
}

}  // namespace
