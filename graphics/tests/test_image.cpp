// Images and their drawing state, on real DIB sections.
#include <gtest/gtest.h>
#include <windows.h>

#include "graphics/drawing_devices.h"
#include "graphics/graph_window.h"
#include "graphics/image.h"
#include "graphics/library_state.h"
#include "graphics/tests/pixel_canvas.h"

TEST(Image, ColourrefBecomesPixelWithRedAndBlueSwapped) {
  struct Case {
    COLORREF color;
    uint32_t pixel;
  } cases[] = {
      {RGB(0x12, 0x34, 0x56), 0x123456},
      {RGB(255, 0, 0), 0xFF0000},
      {RGB(0, 0, 255), 0x0000FF},
      {0x00FFFFFF, 0xFFFFFF},
  };
  for (const Case& c : cases) EXPECT_EQ(colorref_to_pixel(c.color), c.pixel) << std::hex << c.color;
}

TEST(Image, StartsTheLibraryAndComesWithItsDefaults) {
  ASSERT_EQ(graphics_library.library_use_count, 0);
  {
    IMAGE image(8, 4);
    // The image and the window object created by the start-up.
    EXPECT_EQ(graphics_library.library_use_count, 2);
    EXPECT_EQ(gdi().loaded_count(), GdiTable::function_count);
    EXPECT_NE(graphics_library.window, nullptr);
    EXPECT_EQ(image.width, 8);
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(image.line_color, 0xFFFFFFu);
    EXPECT_EQ(image.fill_color, 0xFFFFFFu);
    EXPECT_EQ(image.text_color, 0xFFFFFFu);
    EXPECT_EQ(image.bk_color, 0u);
    EXPECT_EQ(image.line_style.style, PS_SOLID);
    EXPECT_EQ(image.line_style.thickness, 1);
    for (int i = 0; i < 32; ++i) ASSERT_EQ(image.pixels[i], 0u);
    LOGFONTW font = {};
    GetObjectW(GetCurrentObject(image.dc, OBJ_FONT), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, 16);
    EXPECT_STREQ(font.lfFaceName, L"System");
    EXPECT_EQ(GetGraphicsMode(image.dc), GM_ADVANCED);

    IMAGE sizeless;
    EXPECT_EQ(sizeless.bitmap, nullptr);
    EXPECT_EQ(sizeless.pixels, nullptr);
    EXPECT_EQ(graphics_library.library_use_count, 3);
  }
  // The last image gone, the library shut down.
  EXPECT_EQ(graphics_library.library_use_count, 0);
  EXPECT_EQ(graphics_library.window, nullptr);
}

TEST(Image, GreyFillSetsEveryByteOtherColoursEveryPixel) {
  IMAGE image(5, 3);
  fill_pixels(image, RGB(0x40, 0x40, 0x40));
  const BYTE* bytes = reinterpret_cast<const BYTE*>(image.pixels);
  for (int i = 0; i < 5 * 3 * 4; ++i) ASSERT_EQ(bytes[i], 0x40) << "byte " << i;
  fill_pixels(image, RGB(0x40, 0x40, 0x41));
  for (int i = 0; i < 15; ++i) ASSERT_EQ(image.pixels[i], 0x404041u) << "pixel " << i;
}

TEST(Image, GrowingKeepsTheOldPixelsAndFillsTheNewAreaWithTheBackground) {
  IMAGE image(3, 2);
  for (int i = 0; i < 6; ++i) image.pixels[i] = 0x010101u * (i + 1);
  image.bk_color = RGB(0, 0, 0x80);
  image.resize(0, 9);  // a zero side changes nothing
  image.resize(7, 0);
  ASSERT_EQ(image.width, 3);
  ASSERT_EQ(image.height, 2);

  image.resize(5, 4);
  ASSERT_EQ(image.width, 5);
  ASSERT_EQ(image.height, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      const uint32_t expected = (x < 3 && y < 2) ? 0x010101u * (y * 3 + x + 1) : 0x000080u;
      EXPECT_EQ(image.pixels[y * 5 + x], expected) << x << "," << y;
    }

  image.resize(2, 1);  // shrinking keeps the top-left corner
  EXPECT_EQ(image.pixels[0], 0x010101u);
  EXPECT_EQ(image.pixels[1], 0x020202u);
}

TEST(Image, AResizeThatGetsNoNewBufferLeavesTheImageAsItWas) {
  IMAGE image(3, 2);
  for (int i = 0; i < 6; ++i) image.pixels[i] = 0x010101u * (i + 1);
  const HBITMAP bitmap = image.bitmap;
  const uint32_t* pixels = image.pixels;
  image.resize(100000, 100000);  // 40 GB of pixels: no DIB section of that size is made
  ASSERT_EQ(image.width, 3);
  ASSERT_EQ(image.height, 2);
  EXPECT_EQ(image.bitmap, bitmap);
  EXPECT_EQ(image.pixels, pixels);
  EXPECT_EQ(GetCurrentObject(image.dc, OBJ_BITMAP), bitmap);
  GdiFlush();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(image.pixels[i], 0x010101u * (i + 1)) << "pixel " << i;
  EXPECT_EQ(GetPixel(image.dc, 2, 1), RGB(6, 6, 6));  // the DC still draws on the old buffer

  image.resize(4, 2);  // and a size that can be made still takes the old content along
  ASSERT_EQ(image.width, 4);
  EXPECT_EQ(image.pixels[4 + 2], 0x060606u);
}

TEST(Image, AssignmentCopiesSizeAndPixelsIntoAnIndependentImage) {
  IMAGE source(4, 4);
  for (int i = 0; i < 16; ++i) source.pixels[i] = 0x100000u + i;
  IMAGE copy;
  copy = source;
  ASSERT_EQ(copy.width, 4);
  ASSERT_EQ(copy.height, 4);
  ASSERT_NE(copy.pixels, source.pixels);
  GdiFlush();
  for (int i = 0; i < 16; ++i) EXPECT_EQ(copy.pixels[i], 0x100000u + i);
  source.pixels[0] = 0;
  EXPECT_EQ(copy.pixels[0], 0x100000u);
  copy = copy;  // self-assignment leaves it whole
  EXPECT_EQ(copy.pixels[5], 0x100005u);
}

TEST(Image, LineStyleCopiesDashesOnlyForAUserStyleThatHasThem) {
  const DWORD dashes[] = {4, 2, 1};
  struct Case {
    const char* name;
    int style;
    bool give_dashes;
    DWORD count;
    bool copied;
  } cases[] = {
      {"user style with dashes", PS_USERSTYLE | PS_ENDCAP_FLAT, true, 3, true},
      {"user style, zero count", PS_USERSTYLE, true, 0, false},
      {"solid style carrying dashes", PS_SOLID, true, 3, false},
      {"user style without array", PS_USERSTYLE, false, 3, false},
  };
  for (const Case& c : cases) {
    LINESTYLE source;
    source.style = c.style;
    source.thickness = 3;
    if (c.give_dashes) {
      source.dashes = new DWORD[3]{dashes[0], dashes[1], dashes[2]};
    }
    source.dash_count = c.count;
    LINESTYLE target;
    target.set_dashes(dashes, 2);  // whatever it held before goes
    target = source;
    EXPECT_EQ(target.style, c.style) << c.name;
    EXPECT_EQ(target.thickness, 3) << c.name;
    if (c.copied) {
      ASSERT_NE(target.dashes, nullptr) << c.name;
      EXPECT_NE(target.dashes, source.dashes) << c.name;
      ASSERT_EQ(target.dash_count, 3u) << c.name;
      EXPECT_EQ(target.dashes[2], 1u) << c.name;
    } else {
      EXPECT_EQ(target.dashes, nullptr) << c.name;
      EXPECT_EQ(target.dash_count, 0u) << c.name;
    }
  }
}

TEST(Image, FillStyleOwnsACopyOfThePatternOnlyForPatternStyles) {
  IMAGE pattern(2, 3);
  pattern.pixels[0] = 0xABCDEF;
  for (int style : {3, 5}) {
    FILLSTYLE source;
    source.style = style;
    source.pattern = new IMAGE;
    *source.pattern = pattern;
    FILLSTYLE target;
    target = source;
    ASSERT_NE(target.pattern, nullptr) << style;
    EXPECT_NE(target.pattern, source.pattern) << style;
    EXPECT_EQ(target.pattern->width, 2) << style;
    GdiFlush();
    EXPECT_EQ(target.pattern->pixels[0], 0xABCDEFu) << style;

    FILLSTYLE hatched;  // a pattern image under another style is not passed on
    hatched.style = 2;
    hatched.hatch = HS_CROSS;
    hatched.pattern = new IMAGE(1, 1);
    target = hatched;
    EXPECT_EQ(target.pattern, nullptr) << style;
    EXPECT_EQ(target.style, 2) << style;
    EXPECT_EQ(target.hatch, HS_CROSS) << style;
  }
}

TEST(Image, ResetDefaultsRestoresColoursStylesAndClipping) {
  PixelCanvas canvas(20, 20);
  DrawOnImg& d = canvas.device();
  d.set_line_color(red);
  d.set_fill_style(2, HS_CROSS, nullptr);
  d.set_bk_color(green);
  d.set_origin(5, 5);
  HRGN region = CreateRectRgn(0, 0, 4, 4);
  d.set_clip_region(region);
  DeleteObject(region);
  d.reset_defaults();
  EXPECT_EQ(d.get_line_color(), 0xFFFFFFu);
  EXPECT_EQ(d.get_bk_color(), 0u);
  EXPECT_EQ(canvas.image.fill_style.style, 0);
  EXPECT_EQ(canvas.image.transform.eDx, 0.0f);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(canvas.image.dc, probe), 0);  // no clip region
  DeleteObject(probe);
  d.solid_rect(0, 0, 19, 19);  // white brush over the whole image
  EXPECT_EQ(canvas.count(0xFFFFFF), 400);
}

TEST(Image, DestroyingTheWorkingImageLeavesNoDanglingTarget) {
  IMAGE keeper;  // keeps the library started
  {
    IMAGE image(4, 4);
    set_working_image(&image);
    EXPECT_EQ(graphics_library.working_image, &image);
    EXPECT_EQ(graphics_library.image_dc, image.dc);
  }
  EXPECT_EQ(graphics_library.working_image, nullptr);
  EXPECT_EQ(graphics_library.working_device, nullptr);
}
