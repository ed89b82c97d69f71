// The page stream on its own, without the engine: a large page arrives whole, and while nobody
// reads, the host holds no more than its bounded part of it.
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "platform/posix/component_library.h"
#include "kontakt/page_stream.h"
#include "tests/kontakt/kontakt_fixture.h"
#include "tests/sqlite_script.h"

namespace vn::kontakt::test {
namespace {

constexpr int kRows = 20000;

void Pause(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// A copy of the program folder whose configuration has the rubric "Gross" with kRows rows.
std::string LargeProgramFolder() {
  namespace fs = std::filesystem;
  const fs::path from = VARNOLIS_PROGRAM_DIR;
  const fs::path to = g_root + "/large-program-folder";
  fs::create_directories(to);
  fs::copy_file(from / "libvarnolis.so", to / "libvarnolis.so",
                fs::copy_options::overwrite_existing);
  fs::copy(from / "databases", to / "databases",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::copy(from / "ResourceHTML", to / "ResourceHTML",
           fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  const std::string sql =
      "INSERT INTO Rubriken (Rang, Rubrik, Menuetext, Titel, Bemerkung) "
      "VALUES (9, 'Gross', 'Gross', 'Gross', '');"
      "INSERT INTO Daten (Titel, Format_ID, Datenquelle, Abfrage, Bemerkung) VALUES ('Zeilen', 0, "
      "'Provider=SQLite;Data Source=databases/demo.db', 'WITH RECURSIVE z(n) AS (SELECT 1 UNION "
      "ALL SELECT n + 1 FROM z WHERE n < " +
      std::to_string(kRows) +
      ") SELECT n AS Nr, ''Zeile '' || n AS Text FROM z', '');"
      "INSERT INTO Zuordnungen (Rubrik_ID, Daten_ID, Rang) VALUES ((SELECT ID_Rubrik FROM "
      "Rubriken WHERE Rubrik = 'Gross'), (SELECT MAX(ID_Daten) FROM Daten), 1);";
  EXPECT_EQ(vn::test::RunSqliteScript((to / "databases/config.mdb").string(), sql), "");
  return (to / "libvarnolis.so").string();
}

TEST(KontaktPageStream, LargePageArrivesWholeWhileTheHostHoldsABoundedPart) {
  auto library = std::make_shared<const host::Library>(LargeProgramFolder());
  ASSERT_TRUE(library->Ok()) << library->Error();
  PageStream stream(library, "varnolis://rubrik/Gross");

  // Nobody reads: the worker fills the buffer up to its bound and waits there.
  qint64 held = -1;
  QDeadlineTimer deadline(60000);
  while (!deadline.hasExpired() && !stream.atEnd()) {
    Pause(200);
    const qint64 now = stream.bytesAvailable();
    if (now == held && now >= PageStream::kBufferLimit) break;
    held = now;
  }
  EXPECT_FALSE(stream.atEnd());
  EXPECT_LE(stream.bytesAvailable(), PageStream::kBufferLimit + PageStream::kReadSize);

  QByteArray page;
  deadline.setRemainingTime(60000);
  while (!deadline.hasExpired() && !stream.atEnd()) {
    const QByteArray part = stream.read(100000);
    if (part.isEmpty()) Pause(10);
    page += part;
  }
  ASSERT_TRUE(stream.atEnd());
  EXPECT_EQ(stream.read(10), QByteArray());
  EXPECT_LE(stream.PeakBuffered(), PageStream::kBufferLimit + PageStream::kReadSize);
  EXPECT_EQ(page.count("Zeile "), kRows);
  EXPECT_TRUE(page.contains(">Zeile 20000<"));
  EXPECT_TRUE(page.trimmed().endsWith("</HTML>"));
  EXPECT_GT(page.size(), 2 * PageStream::kBufferLimit);
}

}  // namespace
}  // namespace vn::kontakt::test
