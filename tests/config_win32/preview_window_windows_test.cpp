// The Windows preview window draws the core's result by messages: the title, the list view's
// captions and cells in report mode, the lines, and "Abbrechen" off once the result has come
// as the posted message on the window's thread.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "config/win32/preview_window.h"
#include "platform/win32/wide.h"
#include "tests/config/core/preview_fixture.h"

namespace vn::config::testing {
namespace {

class PreviewWindowsTest : public PreviewFixture {
 protected:
  // Runs the window's messages until `done` or a minute has passed.
  template <typename Done>
  static void PumpUntil(Done done) {
    const ULONGLONG start = ::GetTickCount64();
    while (!done() && ::GetTickCount64() - start < 60000) {
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
      ::Sleep(20);
    }
  }

  static std::string WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return vn::win32::Narrow(text);
  }

  static std::string Cell(HWND grid, int row, int column) {
    wchar_t buffer[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    ::SendMessageW(grid, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    return vn::win32::Narrow(buffer);
  }

  static std::string Caption(HWND grid, int column) {
    wchar_t buffer[256] = {};
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT;
    header.pszText = buffer;
    header.cchTextMax = 256;
    ::SendMessageW(grid, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                   reinterpret_cast<LPARAM>(&header));
    return vn::win32::Narrow(buffer);
  }
};

TEST_F(PreviewWindowsTest, TheListViewShowsTheTablesCaptionsAndCells) {
  win32::frmVorschau window(::GetModuleHandleW(nullptr), nullptr);
  window.Control().SetACTAutomation(&StandIn);
  HWND grid = window.Grid();
  EXPECT_EQ(::GetWindowLongPtrW(grid, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
  window.Control().Show({"Rechnungen", Connection(),
                         "SELECT Nr AS hide_Nr, Nr AS [right_Rechnung], KundenNr AS Kunde "
                         "FROM Rechnungen WHERE KundenNr = '{!kontakt, 25}' ORDER BY Nr",
                         0});
  EXPECT_TRUE(::IsWindowVisible(window.Handle()));
  EXPECT_EQ(WindowText(window.Handle()), "Vorschau - Rechnungen");
  EXPECT_TRUE(::IsWindowEnabled(window.CancelButton()));
  PumpUntil([&] { return ::IsWindowEnabled(window.CancelButton()) == FALSE; });

  ASSERT_EQ(::SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 2);
  HWND header = reinterpret_cast<HWND>(::SendMessageW(grid, LVM_GETHEADER, 0, 0));
  ASSERT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(Caption(grid, 0), "Rechnung");
  EXPECT_EQ(Caption(grid, 1), "Kunde");
  const char* const cells[2][2] = {{"7", "K1"}, {"8", "K1"}};
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 2; ++c) EXPECT_EQ(Cell(grid, r, c), cells[r][c]) << r << "," << c;
  }
  EXPECT_FALSE(::IsWindowVisible(window.Busy()));
  const std::string lines = WindowText(window.Lines());
  EXPECT_EQ(lines.substr(0, lines.find("\r\nDauer: ")),
            "Verbindung: " + Connection() +
                "\r\nAbfrage: SELECT Nr AS hide_Nr, Nr AS [right_Rechnung], KundenNr AS Kunde "
                "FROM Rechnungen WHERE KundenNr = 'K1' ORDER BY Nr");

  // A new preview in the same window replaces the grid; a failure leaves it empty.
  window.Control().Show({"Fehler", Connection(), "SELECT * FROM nirgends", 2});
  PumpUntil([&] { return ::IsWindowEnabled(window.CancelButton()) == FALSE; });
  EXPECT_EQ(WindowText(window.Handle()), "Vorschau - Fehler");
  EXPECT_EQ(::SendMessageW(grid, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_NE(WindowText(window.Lines())
                .find("Fehler 102: Es konnten keine Daten von der Datenbank abgefragt werden."),
            std::string::npos);

  // Closed, it only hides, for the next preview.
  ::SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindowVisible(window.Handle()));
  EXPECT_NE(window.Handle(), nullptr);
}

}  // namespace
}  // namespace vn::config::testing
