// The core's pictures as the Windows front draws them: transparent around the figures, opaque
// on them, and a mask that says the same (a disabled button draws its picture from the mask).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "config/win32/handles.h"
#include "config/win32/pictures.h"

namespace vn::config::win32 {
namespace {

struct Pixels {
  std::vector<std::uint32_t> colour;  // top-down, 0xAARRGGBB
  std::vector<bool> maskedOut;
};

Pixels Read(HICON icon, int size) {
  ICONINFO info{};
  EXPECT_TRUE(::GetIconInfo(icon, &info));
  const UniqueBitmap colour(info.hbmColor);
  const UniqueBitmap mask(info.hbmMask);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = size;
  format.bmiHeader.biHeight = -size;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  Pixels pixels;
  pixels.colour.resize(static_cast<size_t>(size * size));
  std::vector<std::uint32_t> maskPixels(pixels.colour.size());
  const ScreenDc screen(::GetDC(nullptr));
  ::GetDIBits(screen.Get(), colour.Get(), 0, static_cast<UINT>(size), pixels.colour.data(), &format,
              DIB_RGB_COLORS);
  ::GetDIBits(screen.Get(), mask.Get(), 0, static_cast<UINT>(size), maskPixels.data(), &format,
              DIB_RGB_COLORS);
  for (std::uint32_t pixel : maskPixels) pixels.maskedOut.push_back((pixel & 0xffffff) != 0);
  return pixels;
}

TEST(PicturesWindowsTest, EveryPictureIsOpaqueOnItsFiguresAndTransparentAroundThem) {
  for (int picture = static_cast<int>(Picture::kFirst);
       picture <= static_cast<int>(Picture::kTreeData); ++picture) {
    for (int size : {16, 32}) {
      SCOPED_TRACE(::testing::Message() << "picture " << picture << " at " << size);
      const UniqueIcon icon(MakePictureIcon(static_cast<Picture>(picture), size));
      ASSERT_NE(icon.Get(), nullptr);
      const Pixels pixels = Read(icon.Get(), size);
      int opaque = 0;
      for (size_t i = 0; i < pixels.colour.size(); ++i) {
        const bool isOpaque = (pixels.colour[i] >> 24) == 0xff;
        EXPECT_EQ(isOpaque, !pixels.maskedOut[i]) << "pixel " << i;
        if (isOpaque) {
          ++opaque;
        } else {
          EXPECT_EQ(pixels.colour[i], 0u) << "pixel " << i;
        }
      }
      // No picture fills its corner; every picture draws something.
      EXPECT_TRUE(pixels.maskedOut[0]);
      EXPECT_GT(opaque, size);
    }
  }
}

}  // namespace
}  // namespace vn::config::win32
