// The stand-in file's model is taken again only while the file provably has not changed: the
// same file, size and times, last changed well before it was looked at; a file written a moment
// ago is read on every call, so that a rewrite of the same length in the same tick of the file
// system's clock is seen.
#include "act/standin_cache.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "act/act_standin.h"
#include "act/standin_file.h"
#include "act_fixture.h"
#include "platform/runtime_error.h"

namespace vn {
namespace {

constexpr long long kSecond = 1'000'000'000LL;

// A file last changed at second 100, looked at `lookedAt` seconds since 1970.
FileStamp Stamp(long long lookedAt) {
  FileStamp stamp;
  stamp.known = true;
  stamp.device = 1;
  stamp.inode = 42;
  stamp.size = 20;
  stamp.modified = 100 * kSecond;
  stamp.changed = 100 * kSecond;
  stamp.lookedAt = lookedAt * kSecond;
  return stamp;
}

TEST(StandInCacheTest, AModelIsTakenAgainOnlyForTheSameSettledFile) {
  clStandInCache cache(2 * kSecond);
  const StandInModel model =
      std::make_shared<const nlohmann::json>(nlohmann::json{{"database", "A.dbf"}});
  cache.Keep("/act.json", "{\"database\": \"A.dbf\"}", model, Stamp(103));
  EXPECT_EQ(cache.Unchanged("/act.json", Stamp(200)), model);
  EXPECT_EQ(cache.Unchanged("/other.json", Stamp(200)), nullptr);

  // Anything of the file's state that differs makes it read again.
  for (auto change : {+[](FileStamp& s) { s.inode = 43; }, +[](FileStamp& s) { s.device = 2; },
                      +[](FileStamp& s) { s.size = 21; }, +[](FileStamp& s) { ++s.modified; },
                      +[](FileStamp& s) { ++s.changed; }, +[](FileStamp& s) { s.known = false; }}) {
    FileStamp now = Stamp(200);
    change(now);
    EXPECT_EQ(cache.Unchanged("/act.json", now), nullptr);
  }

  // Read within the clock's tick after its last change, the file may have been written again
  // unseen: it is read on every call until a read made later has the same text.
  cache.Keep("/act.json", "{\"database\": \"A.dbf\"}", model, Stamp(101));
  EXPECT_EQ(cache.Unchanged("/act.json", Stamp(200)), nullptr);
  EXPECT_EQ(cache.SameText("/act.json", "{\"database\": \"B.dbf\"}", Stamp(200)), nullptr);
  EXPECT_EQ(cache.SameText("/act.json", "{\"database\": \"A.dbf\"}", Stamp(200)), model);
  EXPECT_EQ(cache.Unchanged("/act.json", Stamp(300)), model);
}

class StandInCacheFileTest : public test::ActFixture {};

TEST_F(StandInCacheFileTest, ARewriteOfTheSameLengthAtOnceIsRead) {
  for (const char* database : {"A.dbf", "B.dbf", "C.dbf", "A.dbf"}) {
    WriteAct(std::string("{\"database\": \"") + database + "\"}");
    EXPECT_EQ(clStandInFile(ActPath()).Load()->value("database", ""), database);
    EXPECT_EQ(clStandInFile(ActPath()).Load()->value("database", ""), database);
  }
}

// The model read is shared by every caller until the file changes; a member that changes it
// changes a copy, so a change that cannot be written leaves nothing behind.
TEST_F(StandInCacheFileTest, AChangeThatCannotBeWrittenLeavesTheModelAsTheFileHasItLinux) {
  WriteAct(R"({"windows": [{"class": "act3.0frameclass", "title": "ACT!"}], "activeView": 1,
               "database": "A.dbf", "contact": {"1": "C1", "25": "K1"}})");
  // Where the stand-in writes the new file first stands a folder.
  std::filesystem::create_directory(ActPath() + ".tmp" + std::to_string(::getpid()));
  const ACTAutomation act = StandInAutomation(ActPath());
  const AutoObject app = act.host->CreateObject("ACTOLE.APPOBJECT");
  const AutoObject view = app->GetProperty("Views").Object()->Call("GetActive").Object();
  EXPECT_THROW(view->Call("SetField", {std::int32_t{25}, std::string("K2")}), RuntimeError);
  EXPECT_THROW(app->Call("OpenDB", {std::string("B.dbf")}), RuntimeError);
  EXPECT_EQ(view->Call("GetField", {std::int32_t{25}}).ToText(), "K1");
  EXPECT_EQ(app->Call("GetOpenDBName").ToText(), "A.dbf");
}

}  // namespace
}  // namespace vn
