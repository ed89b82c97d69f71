// The splash window stays on top of every other: it is closed before the first message or
// chooser, so that none opens behind it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/core/splash_prompts.h"
#include "tests/config/core/core_fixture.h"

namespace vn::config::testing {
namespace {

TEST(SplashPromptsTest, TheSplashClosesOnceBeforeTheFirstPrompt) {
  ScriptedPrompts scripted;
  std::vector<std::string> events;
  scripted.whileShown = [&] { events.push_back("message"); };
  SplashPrompts prompts(scripted);
  prompts.SetSplash([&] { events.push_back("splash closed"); });
  prompts.Message("Konvertieren?", MsgIcon::kQuestion, MsgButtons::kYesNo);
  prompts.ChooseFolder("Ordner", "");
  prompts.Message("Fertig", MsgIcon::kInformation);
  EXPECT_EQ(events, (std::vector<std::string>{"splash closed", "message", "message"}));
  ASSERT_EQ(scripted.shown.size(), 2u);
  EXPECT_EQ(scripted.shown[0].text, "Konvertieren?");
  EXPECT_EQ(scripted.shown[0].buttons, MsgButtons::kYesNo);
}

TEST(SplashPromptsTest, AChooserClosesTheSplashToo) {
  ScriptedPrompts scripted;
  int closed = 0;
  SplashPrompts prompts(scripted);
  prompts.SetSplash([&] { ++closed; });
  scripted.file = "/srv/k.db";
  EXPECT_EQ(prompts.ChooseFile("Datei", "/srv"), std::optional<std::string>("/srv/k.db"));
  EXPECT_EQ(closed, 1);
  prompts.CloseSplash();
  EXPECT_EQ(closed, 1);
}

// The window's own messages, the first of which may come while the splash is still up (the
// notice about rubrics that share a name comes at load).
TEST_F(CoreTest, TheWindowClosesTheSplashBeforeItsFirstMessage) {
  Execute("UPDATE Rubriken SET Rubrik = 'start' WHERE ID_Rubrik = 4;");
  bool splashUp = true;
  bool upWhileShown = false;
  prompts.whileShown = [&] { upWhileShown |= splashUp; };
  dataEnv = std::make_unique<DataEnv>();
  dataEnv->DataEnvironment_Initialize(folder);
  window = std::make_unique<KonfigurationWindow>(false, view, prompts);
  window->SetSplash([&] { splashUp = false; });
  view.core = window.get();
  window->SetTableRecords(dataEnv->rstabRubriken(), dataEnv->rstabDaten(),
                          dataEnv->rstabZuordnungen());
  window->SetLookupSource(dataEnv.get());
  window->SetConfigStore(dataEnv.get());
  window->Load();
  EXPECT_EQ(prompts.shown.size(), 1u);
  EXPECT_FALSE(splashUp);
  EXPECT_FALSE(upWhileShown);
}

}  // namespace
}  // namespace vn::config::testing
