// The Windows front's window driven through messages: edits that must reach the database, the
// long fields' editors, refused saves and deletions, the start files, and the window's layout
// against the core's table.
#include <filesystem>

#include "config/core/data_link.h"
#include "config/core/field_size.h"
#include "config/core/layout.h"
#include "config/core/texts.h"
#include "platform/text.h"
#include "tests/config/core/expected_start_files.h"
#include "tests/config_win32/window_fixture.h"

namespace vn::config::testing {
namespace {

// One keystroke after a move is an edit like any other: it is saved when the tab changes.
TEST_F(KonfigurationWindowsTest, OneKeystrokeInTitelAfterAMoveThenATabChangeIsInTheDatabase) {
  OpenWindow();
  Click("cmdMoveNext");
  Click("cmdMoveNext");
  EXPECT_EQ(StatusPanel(1), "gewechselt");
  Caret("txbRubrikenTitel", static_cast<int>(Text("txbRubrikenTitel").size()));
  Keys("txbRubrikenTitel", L"x");
  EXPECT_EQ(StatusPanel(1), "geändert");
  EXPECT_TRUE(::IsWindowEnabled(C("cmdOK")));
  SelectTab(2);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Scalar("SELECT Titel FROM Rubriken WHERE ID_Rubrik = 3"), "Offene Postenx");
  EXPECT_EQ(frm->Core().SelectedTab(), 2);
  EXPECT_TRUE(::IsWindowVisible(C("frTab1")));
  EXPECT_FALSE(::IsWindowVisible(C("frTab0")));
}

TEST_F(KonfigurationWindowsTest, APickInTheDatenListThenClosingTheWindowIsInTheDatabase) {
  OpenWindow();
  SelectTab(3);
  Click("cmdMoveNext");  // assignment 2: Start, Ansprechpartner
  ASSERT_EQ(Text("cbxZuordnungenDaten"), "Ansprechpartner");
  const int row = static_cast<int>(::SendMessageW(C("cbxZuordnungenDaten"), CB_GETCURSEL, 0, 0));
  Pick("cbxZuordnungenDaten", row + 1);
  EXPECT_EQ(Text("cbxZuordnungenDaten"), "Über Varnolis");
  EXPECT_EQ(StatusPanel(1), "geändert");
  ::SendMessageW(frm->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(frm->Handle()));
  EXPECT_EQ(Scalar("SELECT Daten_ID FROM Zuordnungen WHERE ID_Zuordnung = 2"), "5");
}

TEST_F(KonfigurationWindowsTest, EnterInTheMiddleOfAQueryLeavesABlankAtTheCaretAndNothingMoves) {
  OpenWindow();
  SelectTab(2);
  Click("cmdMoveNext");  // the first data entry is read-only
  const RECT before = Place("txbDatenAbfrage");
  Caret("txbDatenAbfrage", 0);
  ::SendMessageW(C("txbDatenAbfrage"), EM_SETSEL, 0, -1);
  Keys("txbDatenAbfrage", L"SELECT KundenNr FROM Kunden");
  Caret("txbDatenAbfrage", 6);
  ::SendMessageW(C("txbDatenAbfrage"), WM_KEYDOWN, VK_RETURN, 1);
  Keys("txbDatenAbfrage", L"\r*,");
  EXPECT_EQ(Text("txbDatenAbfrage"), "SELECT *, KundenNr FROM Kunden");
  EXPECT_EQ(CaretOf("txbDatenAbfrage"), 9);
  const RECT after = Place("txbDatenAbfrage");
  EXPECT_EQ(std::vector<LONG>({before.left, before.top, before.right, before.bottom}),
            std::vector<LONG>({after.left, after.top, after.right, after.bottom}));
  EXPECT_EQ(frm->Core().SelectedTab(), 2);
  SelectTab(1);
  EXPECT_EQ(Scalar("SELECT Abfrage FROM Daten WHERE ID_Daten = 2"),
            "SELECT *, KundenNr FROM Kunden");
}

TEST_F(KonfigurationWindowsTest, EachLongFieldReturnsToItsNormalHeightAfterAnyOrderOfPresses) {
  OpenWindow();
  SelectTab(2);
  const RECT connection = Place("txbDatenVerbindung");
  const RECT query = Place("txbDatenAbfrage");
  const std::string normal = FieldSizes::CaptionNormal();
  const std::vector<std::vector<const char*>> orders = {
      {"cmdMinMaxDatenVerbindung", "cmdMinMaxDatenAbfrage", "cmdMinMaxDatenVerbindung",
       "cmdMinMaxDatenAbfrage"},
      {"cmdMinMaxDatenAbfrage", "cmdMinMaxDatenVerbindung", "cmdMinMaxDatenVerbindung",
       "cmdMinMaxDatenAbfrage"}};
  for (const auto& order : orders) {
    Click(order[0]);
    const RECT enlarged =
        Place(order[0] == std::string("cmdMinMaxDatenAbfrage") ? "txbDatenAbfrage"
                                                               : "txbDatenVerbindung");
    EXPECT_GT(enlarged.bottom - enlarged.top, connection.bottom - connection.top);
    EXPECT_EQ(Text(order[0]), FieldSizes::CaptionEnlarged());
    for (size_t i = 1; i < order.size(); ++i) Click(order[i]);
    EXPECT_EQ(Place("txbDatenVerbindung").top, connection.top);
    EXPECT_EQ(Place("txbDatenVerbindung").bottom, connection.bottom);
    EXPECT_EQ(Place("txbDatenAbfrage").top, query.top);
    EXPECT_EQ(Place("txbDatenAbfrage").bottom, query.bottom);
    EXPECT_EQ(Text("cmdMinMaxDatenVerbindung"), normal);
    EXPECT_EQ(Text("cmdMinMaxDatenAbfrage"), normal);
  }
}

TEST_F(KonfigurationWindowsTest, ASaveOnAReadOnlyDatabaseKeepsTheInputAndTheFile) {
  // Read-only for everyone, and, where Wine runs as root and the file's permissions keep
  // nothing out, opened by another program that lets no one else write.
  MakeReadOnly();
  const vn::win32::UniqueHandle denyWrite(
      ::CreateFileW(vn::win32::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(denyWrite.Valid());
  const std::string before = ReadFile(path);
  OpenWindow();
  Click("cmdMoveNext");
  ::SetFocus(C("txbRubrikenTitel"));
  ::SendMessageW(C("txbRubrikenTitel"), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"Alle Rechnungen"));
  SelectTab(2);
  ASSERT_EQ(prompts.shown.size(), 1u);
  const std::string& text = prompts.shown[0].text;
  EXPECT_EQ(text.rfind("Es ist Fehler beim Speichern der Daten aufgetreten.\n", 0), 0u) << text;
  EXPECT_NE(text.find("Die Eingabe bleibt erhalten. Speichern Sie erneut oder brechen Sie die "
                      "Eingabe ab."),
            std::string::npos)
      << text;
  EXPECT_EQ(frm->Core().SelectedTab(), 1);
  EXPECT_EQ(::SendMessageW(C("TabStrip"), TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(Text("txbRubrikenTitel"), "Alle Rechnungen");
  EXPECT_EQ(StatusPanel(1), "geändert");
  EXPECT_TRUE(::IsWindowEnabled(C("cmdOK")));
  MakeWritable();
  EXPECT_EQ(ReadFile(path), before);
}

TEST_F(KonfigurationWindowsTest, DeletingAnAssignedDataEntryAsksNamingTheRubrics) {
  Execute("INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES (2, 4, 5);");
  OpenWindow();
  SelectTab(2);
  for (int i = 0; i < 3; ++i) Click("cmdMoveNext");
  ASSERT_EQ(Text("txbDatenTitel"), "Ansprechpartner");
  const std::string before = ReadFile(path);
  prompts.answers = {MsgResult::kNo};
  Click("cmdDelete");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text,
            "Der aktuelle Datensatz ist diesen Rubriken zugeordnet:\n\nStart\nRechnungen\n\n"
            "Sollen der Datensatz und seine Zuordnungen gelöscht werden?");
  EXPECT_EQ(prompts.shown[0].buttons, MsgButtons::kYesNo);
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_EQ(Text("txbDatenTitel"), "Ansprechpartner");

  prompts.answers = {MsgResult::kYes};
  Click("cmdDelete");
  EXPECT_EQ(Scalar("SELECT count(*) FROM Daten WHERE ID_Daten = 4"), "0");
  EXPECT_EQ(Scalar("SELECT count(*) FROM Zuordnungen WHERE Daten_ID NOT IN "
                   "(SELECT ID_Daten FROM Daten)"),
            "0");
  EXPECT_EQ(Text("txbDatenTitel"), "Über Varnolis");
}

// The data-link dialog as the connection button reaches it: a new connection for an empty
// field.
class ScriptedDataLink : public DataLinkPrompt {
 public:
  int newPrompts = 0;
  std::optional<std::string> PromptNew() override {
    ++newPrompts;
    return "Provider=SQLite;Data Source=databases\\neu.db";
  }
  std::optional<std::string> PromptEdit(const std::string&) override { return std::nullopt; }
};

TEST_F(KonfigurationWindowsTest, TheConnectionButtonPutsTheNewConnectionIntoTheRecord) {
  OpenWindow();
  ScriptedDataLink dataLink;
  frm->Core().SetConnectionTools(nullptr, &dataLink);
  SelectTab(2);
  Click("cmdMoveNext");
  ::SetFocus(C("txbDatenVerbindung"));
  ::SendMessageW(C("txbDatenVerbindung"), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  Notify(C("txbDatenVerbindung"), EN_CHANGE);
  Click("cmdVerbindung");
  EXPECT_EQ(dataLink.newPrompts, 1);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Text("txbDatenVerbindung"), "Provider=SQLite;Data Source=databases\\neu.db");
  EXPECT_EQ(NameOf(::GetFocus()), "txbDatenVerbindung");
  SelectTab(1);
  EXPECT_EQ(Scalar("SELECT Datenquelle FROM Daten WHERE ID_Daten = 2"),
            "Provider=SQLite;Data Source=databases\\neu.db");
}

// ACT!'s NetLinks folder named in the prefix's registry for this user, for one test.
class NetLinksSetting {
 public:
  explicit NetLinksSetting(const std::string& folder) {
    const std::wstring value = vn::win32::Widen(folder);
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"NetLinks File Type", REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  ~NetLinksSetting() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"NetLinks File Type"); }
  NetLinksSetting(const NetLinksSetting&) = delete;
  NetLinksSetting& operator=(const NetLinksSetting&) = delete;

 private:
  static constexpr const wchar_t* kKey = L"Software\\Symantec\\ACT!";
};

TEST_F(KonfigurationWindowsTest, StartFilesGoToTheNetLinksFolderOfTheRegistryInAnsi) {
  const std::string netLinks = folder + "\\NetLinks";
  std::filesystem::create_directories(netLinks);
  const NetLinksSetting setting(netLinks);
  OpenWindow();
  SelectTab(5);
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(Text("txbNetlinks"), netLinks);
  // A start rubric with a non-ASCII character: the page's address names it in UTF-8 escapes
  // ("ü" is C3 BC), whatever the ANSI code page holds.
  ::SetWindowTextW(C("cbxStartRubrik"), L"B\u00fcro");
  Click("cmdStartDateienErstellen");
  EXPECT_EQ(ReadFile(netLinks + "\\Varnolis.ctl"), ReplaceAll(kControlKunden, "@", netLinks));
  EXPECT_EQ(ReadFile(netLinks + "\\Varnolis.htm"),
            ReplaceAll(kPageKunden, "rubrik/Kunden", "rubrik/B%C3%BCro"));
  ASSERT_EQ(prompts.shown.size(), 1u);
}

TEST_F(KonfigurationWindowsTest, AMissingOrEmptyNetLinksFolderIsToldAndNothingIsWritten) {
  const std::string missing = folder + "\\NichtDa";
  {
    const NetLinksSetting setting(missing);
    OpenWindow();
    SelectTab(5);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, texts::NetLinksFolderMissing(missing));
    prompts.answers = {MsgResult::kYes, MsgResult::kYes};
    Click("cmdStartDateienErstellen");
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::u8path(missing)));
  }
  SelectTab(1);
  prompts.shown.clear();
  SelectTab(5);
  ASSERT_GE(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].text, texts::kNetLinksNotFound);
  EXPECT_EQ(Text("txbNetlinks"), "");
  const size_t shown = prompts.shown.size();
  Click("cmdStartDateienErstellen");
  EXPECT_EQ(prompts.shown.size(), shown + 1);
  EXPECT_FALSE(std::filesystem::exists("C:\\Varnolis.ctl"));
}

// Every control sits where the core's table puts it, converted with the window's twips per
// pixel, with the table's caption and tooltip.
class KonfigurationLayoutWindowsTest : public KonfigurationWindowsTest,
                                       public ::testing::WithParamInterface<int> {};

TEST_P(KonfigurationLayoutWindowsTest, CaptionsTooltipsAndPlacesAreTheCoresTable) {
  const int dpi = GetParam();
  const int tpp = 1440 / dpi;
  OpenWindow(dpi);
  wchar_t caption[64] = {};
  ::GetWindowTextW(frm->Handle(), caption, 64);
  EXPECT_EQ(vn::win32::Narrow(caption), texts::kWindowCaption);
  for (const ControlPlace& place : LayoutTable()) {
    SCOPED_TRACE(place.name);
    HWND control = C(place.name);
    ASSERT_NE(control, nullptr);
    const RECT at = Place(place.name);
    int top = place.top;
    if (place.pixelsUp > 0) top -= (place.pixelsUp - layout::kSmallButtonPixelsDown) * tpp;
    EXPECT_EQ(at.left, (place.left + tpp / 2) / tpp);
    EXPECT_EQ(at.top, (top + tpp / 2) / tpp);
    EXPECT_EQ(at.right - at.left, (place.width + tpp / 2) / tpp);
    if (place.kind != ControlKind::kList && place.kind != ControlKind::kEditList) {
      EXPECT_EQ(at.bottom - at.top, (place.height + tpp / 2) / tpp);
    }
    if (place.kind == ControlKind::kLabel ||
        (place.kind == ControlKind::kButton && place.caption[0] != '\0')) {
      EXPECT_EQ(Text(place.name), place.caption);
    }
    if (place.tooltip[0] != '\0') {
      wchar_t tip[256] = {};
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof(tool);
      tool.hwnd = ::GetParent(control);
      tool.uId = reinterpret_cast<UINT_PTR>(control);
      tool.lpszText = tip;
      ::SendMessageW(C("Tooltips"), TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
      EXPECT_EQ(vn::win32::Narrow(tip), place.tooltip);
    }
  }
  int index = 0;
  for (const char* tab : TabCaptions()) {
    wchar_t text[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(C("TabStrip"), TCM_GETITEMW, static_cast<WPARAM>(index++),
                   reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(vn::win32::Narrow(text), tab);
  }
  // The debug box lies below the visible area while debugging is off.
  RECT client{};
  ::GetClientRect(frm->Handle(), &client);
  EXPECT_GE(Place("txbStatus").top, client.bottom);
  // The button bar and the status bar below it fit, the tab strip with the frame's margin too.
  RECT bar{};
  ::GetWindowRect(C("StatusBar"), &bar);
  EXPECT_LE(Place("picDatenSteuerung").bottom + (bar.bottom - bar.top), client.bottom);
  EXPECT_GE(client.right, Place("TabStrip").right + Place("TabStrip").left);
}

INSTANTIATE_TEST_SUITE_P(Dpi, KonfigurationLayoutWindowsTest, ::testing::Values(96, 120));

}  // namespace
}  // namespace vn::config::testing
