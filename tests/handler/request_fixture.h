// Test support: the world of a test that drives requests without the library's exports: a
// private test folder and in it a program folder, which the code linked into the test takes for
// the library's folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/module_path.h"
#include "tests/handler/request_driver.h"
#include "tests/handler/test_folder.h"

namespace vn::test {

class RequestFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::make_unique<TestFolder>();
    program_ = folder_->Root() + "/Varnolis";
    std::filesystem::create_directories(program_);
    OverrideLibraryFolder(program_);
  }
  void TearDown() override {
    OverrideLibraryFolder("");
    folder_.reset();
  }
  std::vector<std::string> TempFilesLeft() const { return FilesIn(folder_->Tmp()); }

  std::unique_ptr<TestFolder> folder_;
  std::string program_;
};

}  // namespace vn::test
