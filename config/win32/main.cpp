// varnolis-konfiguration.exe: the configuration program on Windows. Reads the debug setting,
// shows the splash window, opens the configuration database through the data environment,
// creates and loads the main window and runs until it is closed. A database in Access' format is
// converted first, if the user agrees; one that cannot be opened (or stays in Access' format)
// ends the program before the window shows.
#include <windows.h>
#include <ole2.h>

#include <cstdio>
#include <memory>
#include <string>

#include "config/core/access_conversion.h"
#include "config/core/connection_probe.h"
#include "config/core/data_env.h"
#include "config/core/data_env_events.h"
#include "config/core/error_texts.h"
#include "config/core/splash_prompts.h"
#include "config/win32/dialogs/dialogs.h"
#include "config/win32/frm_konfiguration.h"
#include "config/win32/preview_window.h"
#include "config/win32/win32_prompts.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/settings.h"

namespace {

class ProgramDialogs : public vn::config::win32::WindowDialogs {
 public:
  void ShowInfo(HWND owner) override { vn::config::win32::ShowInfo(owner); }
};

// OLE for the data-link dialog, the folder browser and the clipboard of the fields.
class OleSession {
 public:
  OleSession() : initialized_(SUCCEEDED(::OleInitialize(nullptr))) {}
  ~OleSession() {
    if (initialized_) ::OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool initialized_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  OleSession ole;
  const bool debug = vn::GetSetting("Varnolis", "Optionen", "Debug", "0") == "1";

  std::unique_ptr<vn::config::win32::SplashWindow> splash = vn::config::win32::ShowSplash(instance);

  vn::config::win32::Win32Prompts prompts;
  vn::config::DataEnv dataEnv;
  const std::string programFolder = vn::LibraryFolder();
  // The splash stays on top: it closes before the conversion's question.
  vn::config::SplashPrompts startPrompts(prompts);
  startPrompts.SetSplash([&splash] { splash.reset(); });
  const vn::config::AccessConversion conversion = vn::config::OfferAccessConversion(
      vn::config::DataEnv::DatabasePath(programFolder), startPrompts);
  if (conversion == vn::config::AccessConversion::kRefused ||
      conversion == vn::config::AccessConversion::kFailed) {
    return 1;  // the conversion's messages have said why
  }
  try {
    dataEnv.DataEnvironment_Initialize(programFolder);
  } catch (const vn::RuntimeError& e) {
    // Without its database the program has nothing to show: the system's error text, naming
    // the file, and the end.
    const std::string path = vn::config::DataEnv::DatabasePath(programFolder);
    splash.reset();
    std::string shown = vn::config::UserErrorText(e, {});
    if (shown.find(path) == std::string::npos) shown += "\n" + path;
    prompts.Message(shown, vn::config::MsgIcon::kExclamation, vn::config::MsgButtons::kOk);
    return 1;
  }

  std::unique_ptr<vn::config::ConnectionProbe> probe = vn::config::MakeDataConnectionProbe();
  ProgramDialogs dialogs;
  vn::config::win32::frmKonfiguration window(instance, debug, prompts, dialogs, 0, true);
  window.Core().SetSplash([&splash] { splash.reset(); });
  prompts.SetOwner(window.Handle());
  std::unique_ptr<vn::config::DataLinkPrompt> dataLink =
      vn::config::win32::MakeDataLinkPrompt(window.Handle(), prompts);
  vn::config::DataEnvEvents events(window.Core());
  window.Core().SetRecordEvents(&events);
  window.Core().SetConnectionTools(probe.get(), dataLink.get());
  window.Core().SetTableRecords(dataEnv.rstabRubriken(), dataEnv.rstabDaten(),
                                dataEnv.rstabZuordnungen());
  window.Core().SetLookupSource(&dataEnv);
  window.Core().SetConfigStore(&dataEnv);
  vn::config::win32::frmVorschau preview(instance, window.Handle());
  window.Core().SetPreview(&preview.Control());
  window.Load();
  ::ShowWindow(window.Handle(), show);
  ::UpdateWindow(window.Handle());
  splash.reset();

  MSG message;
  int result = 0;
  while (true) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      result = static_cast<int>(message.wParam);
      break;
    }
    if (got < 0) break;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  window.Core().SetTableRecords(nullptr, nullptr, nullptr);
  return result;
}
