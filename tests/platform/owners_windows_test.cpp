// The file owners on the Windows API: a temporary file handed to its reader goes with the
// reader's handle (the name cannot be reused while the file is pending deletion, unlike on
// POSIX systems), and failures carry the system's own text.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/file_handle.h"
#include "platform/runtime_error.h"
#include "platform/temp_file.h"
#include "platform/vb_errors.h"
#include "platform/win32/wide.h"

namespace vn::test {
namespace {

namespace fs = std::filesystem;

// A scratch folder of its own, gone with the test.
class Scratch {
 public:
  Scratch() {
    char pattern[] = "/tmp/vn-own-XXXXXX";
    root_ = fs::canonical(mkdtemp(pattern)).string();
  }
  ~Scratch() {
    std::error_code ignored;  // a leftover folder in the temporary folder harms no later test
    fs::remove_all(root_, ignored);
  }
  const std::string& Root() const { return root_; }
  const std::string& Tmp() const { return root_; }

 private:
  std::string root_;
};

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(TempFileWindowsTest, AFileHandedToItsReaderGoesWhenTheReaderCloses) {
  Scratch folder;
  const std::string path = *CreateTempFile(folder.Tmp(), "~HTM");
  WriteText(path, "page");
  {
    TempFile owner(path);
    FileHandle reader = owner.OpenForFinalRead();
    EXPECT_EQ(owner.Path(), path);
    char text[8] = {};
    EXPECT_EQ(reader.ReadUpTo(text, sizeof text), 4u);
    EXPECT_EQ(std::string(text), "page");
    // The owner has nothing left to delete; its going does not close the reader.
    owner.Delete();
    EXPECT_EQ(reader.ReadUpTo(text, sizeof text), 0u);
  }
  EXPECT_FALSE(fs::exists(path));

  // A file that cannot be opened stays with its owner.
  const std::string missing = folder.Tmp() + "\\~HT0000.tmp";
  TempFile owner(missing);
  EXPECT_THROW(owner.OpenForFinalRead(), RuntimeError);
  WriteText(missing, "x");
  owner.Delete();
  EXPECT_FALSE(fs::exists(missing));
}

TEST(FileHandleWindowsTest, FailuresCarryThePathAndTheSystemsText) {
  Scratch folder;
  const std::string missing = folder.Root() + "\\missing\\page.htm";
  for (bool writing : {false, true}) {
    try {
      writing ? FileHandle::OpenForWriting(missing) : FileHandle::OpenForReading(missing);
      ADD_FAILURE() << "opened " << missing;
    } catch (const RuntimeError& e) {
      EXPECT_EQ(e.Number(), kErrPathFileAccess);
      EXPECT_EQ(e.Description(), missing + ": " + win32::SystemErrorText(ERROR_PATH_NOT_FOUND));
    }
  }
  // A file written while it is being read: both handles share the file.
  const std::string path = folder.Root() + "\\page.htm";
  FileHandle out = FileHandle::OpenForWriting(path);
  out.WriteAll("ab", 2);
  FileHandle in = FileHandle::OpenForReading(path);
  char text[4] = {};
  EXPECT_EQ(in.ReadUpTo(text, sizeof text), 2u);
  out.Close();
  in.Close();
  EXPECT_TRUE(fs::remove(path));
}

}  // namespace
}  // namespace vn::test
