// varnolis-konfiguration: the configuration program. Reads the debug setting, shows the splash
// window, creates and loads the main window and runs until it is closed.
#include <QApplication>

#include "config/connection_probe.h"
#include "config/data_env_events.h"
#include "config/data_link_dialog.h"
#include "config/frm_konfiguration.h"
#include "config/frm_splash.h"
#include "config/message_box.h"
#include "platform/settings.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Varnolis-Konfiguration"));

  const bool debug = vn::GetSetting("Varnolis", "Optionen", "Debug", "0") == "1";

  vn::config::frmSplash splash;
  splash.show();
  QApplication::processEvents();

  vn::config::QtMessageBoxes messages;
  std::unique_ptr<vn::config::ConnectionProbe> probe = vn::config::MakeDataConnectionProbe();
  vn::config::QtDataLinkPrompt dataLink(*probe, messages);

  vn::config::frmKonfiguration window(debug, messages);
  vn::config::DataEnvEvents events(window);
  window.SetRecordEvents(&events);
  window.SetConnectionTools(probe.get(), &dataLink);
  window.Load();
  window.show();
  splash.close();
  return QApplication::exec();
}
