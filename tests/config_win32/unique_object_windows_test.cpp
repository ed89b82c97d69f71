// The one owner template over real handles: each handle is freed exactly once, whichever way
// it leaves its owner (the owner goes, takes another, is moved from or into), and a kind's
// empty values are never passed to its free call.
#include <windows.h>

#include <gtest/gtest.h>

#include <utility>

#include "config/win32/handles.h"
#include "platform/win32/wide.h"

namespace vn::config::win32 {
namespace {

HANDLE NewEvent() { return ::CreateEventW(nullptr, TRUE, FALSE, nullptr); }

bool IsOpen(HANDLE handle) {
  DWORD flags = 0;
  return ::GetHandleInformation(handle, &flags) != FALSE;
}

bool IsFont(HFONT font) { return ::GetObjectType(font) == OBJ_FONT; }

HFONT NewFont() {
  LOGFONTW font{};
  font.lfHeight = -12;
  return ::CreateFontIndirectW(&font);
}

TEST(UniqueObjectWindowsTest, AKernelHandleIsClosedOnceWhicheverWayItLeaves) {
  struct Case {
    const char* way;
    void (*leave)(vn::win32::UniqueHandle& owner);
  };
  const Case cases[] = {
      {"reset", [](vn::win32::UniqueHandle& owner) { owner.Reset(); }},
      {"another taken", [](vn::win32::UniqueHandle& owner) { owner.Reset(NewEvent()); }},
      {"put", [](vn::win32::UniqueHandle& owner) { *owner.Put() = nullptr; }},
      {"moved into another that goes",
       [](vn::win32::UniqueHandle& owner) { vn::win32::UniqueHandle other(std::move(owner)); }},
      {"moved over",
       [](vn::win32::UniqueHandle& owner) {
         vn::win32::UniqueHandle other(NewEvent());
         owner = std::move(other);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.way);
    HANDLE first = NewEvent();
    ASSERT_TRUE(IsOpen(first));
    {
      vn::win32::UniqueHandle owner(first);
      c.leave(owner);
      EXPECT_FALSE(IsOpen(first));
      EXPECT_NE(owner.Get(), first);
    }
  }
}

TEST(UniqueObjectWindowsTest, TheOwnerMovedOverKeepsWhatItWasGivenAndFreesItWhenItGoes) {
  HFONT kept = NewFont();
  HFONT replaced = NewFont();
  {
    UniqueFont target(replaced);
    UniqueFont source(kept);
    target = std::move(source);
    EXPECT_FALSE(IsFont(replaced));
    EXPECT_EQ(target.Get(), kept);
    EXPECT_FALSE(source.Valid());
    UniqueFont& self = target;
    target = std::move(self);
    EXPECT_TRUE(IsFont(kept));
  }
  EXPECT_FALSE(IsFont(kept));
}

TEST(UniqueObjectWindowsTest, AFilesNoHandleAndADefaultOwnerAreEmpty) {
  const vn::win32::UniqueHandle none(::CreateFileW(L"Z:\\nicht\\da\\datei.txt", GENERIC_READ, 0,
                                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                                   nullptr));
  EXPECT_EQ(none.Get(), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(none.Valid());
  EXPECT_FALSE(vn::win32::UniqueHandle().Valid());
}

}  // namespace
}  // namespace vn::config::win32
