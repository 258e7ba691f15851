// The canvas contract on GdiCanvas over a DIB frame, with the canvas's panel
// font; and what the canvas leaves behind in GDI.

#include "win32/gdi_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "support/canvas_contract.h"
#include "win32/dib_frame.h"

namespace vs::test {
namespace {

Picture drawWithGdi(int width, int height, const Painting& paint) {
  DibFrame frame;
  if (!frame.resize(width, height)) {
    ADD_FAILURE() << "no DIB frame of " << width << " x " << height;
    return {0, 0, {}};
  }
  PatBlt(frame.dc(), 0, 0, width, height, WHITENESS);
  {
    GdiCanvas canvas(frame.dc(), width, height);
    paint(canvas);
  }
  std::vector<Rgb> pixels;
  pixels.reserve(static_cast<std::size_t>(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.push_back(frame.pixel(x, y));
  }
  return {width, height, std::move(pixels)};
}

INSTANTIATE_TEST_SUITE_P(Gdi, CanvasContract,
                         ::testing::Values(CanvasBackend{"GdiCanvas", drawWithGdi}),
                         [](const auto&) { return "GdiCanvas"; });

// The pen, brush and font the DC holds now.
std::vector<HGDIOBJ> selected(HDC dc) {
  return {GetCurrentObject(dc, OBJ_PEN), GetCurrentObject(dc, OBJ_BRUSH),
          GetCurrentObject(dc, OBJ_FONT)};
}

TEST(GdiCanvasTest, EveryObjectOfAPaintIsGoneWhenItEnds) {
  DibFrame frame;
  ASSERT_TRUE(frame.resize(200, 100));
  const std::vector<HGDIOBJ> own = selected(frame.dc());
  const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);

  for (int paint = 0; paint < 20; ++paint) {
    std::vector<HGDIOBJ> made;
    {
      GdiCanvas canvas(frame.dc(), 200, 100);
      const auto keep = [&] {
        for (HGDIOBJ object : selected(frame.dc())) made.push_back(object);
      };
      for (const Font font : {Font{FontRole::Default}, Font{FontRole::Heavy}, Font{FontRole::Fixed},
                              Font{FontRole::Title, 40}, Font{FontRole::Title, 60 + paint},
                              Font{FontRole::Default}}) {
        canvas.setFont(font);
        canvas.text({10, 10}, "0.600");
        keep();
      }
      for (const int width : {1, 3, 1}) {
        canvas.setPen({{0, 0, 200}, width});
        canvas.setBrush({{static_cast<std::uint8_t>(width * 40), 0, 0}});
        canvas.line({0, 0}, {100, 50});
        canvas.rectangle({20, 20, 60, 60});
        keep();
      }
    }
    EXPECT_EQ(selected(frame.dc()), own) << "paint " << paint;
    for (HGDIOBJ object : made) {
      if (std::find(own.begin(), own.end(), object) != own.end()) continue;
      EXPECT_EQ(GetObjectType(object), 0u) << "paint " << paint << ": " << object << " lives on";
    }
  }
  // Wine counts no GDI objects (it answers 0); Windows does.
  if (objectsBefore != 0) {
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), objectsBefore);
  }
}

}  // namespace
}  // namespace vs::test
