#include "config/win32/dialogs/data_links_prompt.h"

#include "config/core/connection_edit.h"
#include "config/win32/dialogs/ado_connection.h"
#include "platform/runtime_error.h"
#include "platform/win32/com_apartment.h"

namespace vn::config::win32 {

std::string DataLinkUnavailableText(const std::string& description) {
  return "Der Datenverknüpfungs-Assistent kann nicht geöffnet werden:\n" + description +
         "\n\nDie Verbindung bleibt unverändert.";
}

ComPtr<IDataSourceLocator> DataLinksPrompt::CreateDataLinks() {
  ComPtr<IDataSourceLocator> locator;
  HRESULT hr =
      ::CoCreateInstance(kClsidDataLinks, nullptr, CLSCTX_INPROC_SERVER, kIidDataSourceLocator,
                         reinterpret_cast<void**>(locator.Receive()));
  if (FAILED(hr)) ThrowComError(hr, "DataLinks");
  return locator;
}

ComPtr<IDataSourceLocator> DataLinksPrompt::Locator() {
  ComPtr<IDataSourceLocator> locator = factory_();
  if (owner_ != nullptr) {
    // The handle travels as a number of the pointer's width.
    HRESULT hr = locator->put_hWnd(static_cast<CompatibleLong>(reinterpret_cast<INT_PTR>(owner_)));
    if (FAILED(hr)) ThrowComError(hr, "DataLinks.hWnd");
  }
  return locator;
}

std::optional<std::string> DataLinksPrompt::PromptNew() {
  // The dialog and ADO need COM on this thread, whether or not the window set it up.
  vn::win32::ComApartment apartment;
  try {
    ComPtr<IDataSourceLocator> locator = Locator();
    ComPtr<IDispatch> connection;
    HRESULT hr = locator->PromptNew(connection.Receive());
    if (FAILED(hr)) ThrowComError(hr, "DataLinks.PromptNew");
    if (!connection) return std::nullopt;  // cancelled
    return AdoConnection(std::move(connection)).ConnectionString();
  } catch (const vn::RuntimeError& e) {
    tell_(DataLinkUnavailableText(e.Description()));
    return std::nullopt;
  }
}

std::optional<std::string> DataLinksPrompt::PromptEdit(const std::string& connectionString) {
  vn::win32::ComApartment apartment;
  try {
    ComPtr<IDataSourceLocator> locator = Locator();
    AdoConnection connection = AdoConnection::Create();
    connection.SetConnectionString(connectionString);
    VARIANT_BOOL confirmed = VARIANT_FALSE;
    // In and out: the dialog may release the object it was given and hand back another, so it
    // gets a reference of its own, and what it leaves there is adopted.
    IDispatch* object = connection.Dispatch();
    object->AddRef();
    HRESULT hr = locator->PromptEdit(&object, &confirmed);
    AdoConnection edited(ComPtr<IDispatch>::Adopt(object));
    if (FAILED(hr)) ThrowComError(hr, "DataLinks.PromptEdit");
    if (confirmed != VARIANT_TRUE || edited.Dispatch() == nullptr) return std::nullopt;
    return MergeDialogResult(connectionString, edited.ConnectionString());
  } catch (const vn::RuntimeError& e) {
    tell_(DataLinkUnavailableText(e.Description()));
    return std::nullopt;
  }
}

}  // namespace vn::config::win32
