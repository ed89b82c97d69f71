// varnolis-konfiguration: the configuration program. Reads the debug setting, shows the splash
// window, opens the configuration database through the data environment, creates and loads the
// main window and runs until it is closed. A database in Access' format is converted first, if
// the user agrees; one that cannot be opened (or stays in Access' format) ends the program
// before the window shows.
#include <QApplication>
#include <cstdio>

#include "config/core/access_conversion.h"
#include "config/core/connection_probe.h"
#include "config/core/data_env.h"
#include "config/core/error_texts.h"
#include "config/core/data_env_events.h"
#include "config/core/splash_prompts.h"
#include "config/qt/data_link_dialog.h"
#include "config/qt/frm_konfiguration.h"
#include "config/qt/frm_splash.h"
#include "config/qt/message_box.h"
#include "config/qt/preview_window.h"
#include "platform/module_path.h"
#include "platform/runtime_error.h"
#include "platform/settings.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Varnolis-Konfiguration"));

  const bool debug = vn::GetSetting("Varnolis", "Optionen", "Debug", "0") == "1";

  vn::config::frmSplash splash;
  splash.show();
  QApplication::processEvents();

  vn::config::QtMessageBoxes messages;
  vn::config::DataEnv dataEnv;
  const std::string programFolder = vn::LibraryFolder();
  {
    // An Access configuration database: converted, or the program ends with it unchanged. The
    // question closes the splash first.
    vn::config::QtPrompts boxes(messages, nullptr);
    vn::config::SplashPrompts prompts(boxes);
    prompts.SetSplash([&splash] { splash.close(); });
    const vn::config::AccessConversion conversion = vn::config::OfferAccessConversion(
        vn::config::DataEnv::DatabasePath(programFolder), prompts);
    if (conversion == vn::config::AccessConversion::kRefused ||
        conversion == vn::config::AccessConversion::kFailed) {
      splash.close();
      return 1;
    }
  }
  try {
    dataEnv.DataEnvironment_Initialize(programFolder);
  } catch (const vn::RuntimeError& e) {
    // Without its database the program has nothing to show: the system's error text, naming
    // the file, and the end.
    std::string text = e.Description();
    const std::string path = vn::config::DataEnv::DatabasePath(programFolder);
    if (text.find(path) == std::string::npos) text += "\n" + path;
    std::fprintf(stderr, "varnolis-konfiguration: %s\n", text.c_str());
    splash.close();
    std::string shown = vn::config::UserErrorText(e, {});
    if (shown.find(path) == std::string::npos) shown += "\n" + path;
    static_cast<vn::config::MessageBoxes&>(messages).Show(nullptr, QString::fromStdString(shown),
                                                          vn::config::MsgIcon::kExclamation);
    return 1;
  }

  std::unique_ptr<vn::config::ConnectionProbe> probe = vn::config::MakeDataConnectionProbe();
  vn::config::frmKonfiguration window(debug, messages);
  window.Core().SetSplash([&splash] { splash.close(); });
  vn::config::QtPrompts files(messages, &window);
  vn::config::QtDataLinkPrompt dataLink(*probe, messages, files, &window);
  vn::config::DataEnvEvents events(window.Core());
  window.Core().SetRecordEvents(&events);
  window.Core().SetConnectionTools(probe.get(), &dataLink);
  window.Core().SetTableRecords(dataEnv.rstabRubriken(), dataEnv.rstabDaten(),
                                dataEnv.rstabZuordnungen());
  window.Core().SetLookupSource(&dataEnv);
  window.Core().SetConfigStore(&dataEnv);
  vn::config::frmVorschau preview(&window);
  window.Core().SetPreview(&preview.Control());
  window.Load();
  window.show();
  splash.close();
  const int result = QApplication::exec();
  window.Core().SetTableRecords(nullptr, nullptr, nullptr);
  return result;
}
