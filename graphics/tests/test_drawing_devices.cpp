// The off-screen drawing device on real DIB sections: the four forms of every
// shape family, the state they restore, the brushes, the pens and arcs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <functional>
#include <set>
#include <vector>

#include "graphics/drawing_devices.h"
#include "graphics/tests/pixel_canvas.h"

namespace {

const double pi = std::acos(-1.0);

struct Family {
  const char* name;
  // The four forms, drawn over the box 10, 10 .. 50, 50 of a 60 by 60 image.
  std::function<void(DrawOnImg&)> draw, fill, solid, clear;
  POINT inside;
};

const POINT square[] = {{10, 10}, {49, 10}, {49, 49}, {10, 49}};

std::vector<Family> families() {
  return {
      {"rect",
       [](DrawOnImg& d) { d.draw_rect(10, 10, 50, 50); },
       [](DrawOnImg& d) { d.fill_rect(10, 10, 50, 50); },
       [](DrawOnImg& d) { d.solid_rect(10, 10, 50, 50); },
       [](DrawOnImg& d) { d.clear_rect(10, 10, 50, 50); },
       {30, 30}},
      {"round rect",
       [](DrawOnImg& d) { d.draw_round_rect(10, 10, 50, 50, 12, 12); },
       [](DrawOnImg& d) { d.fill_round_rect(10, 10, 50, 50, 12, 12); },
       [](DrawOnImg& d) { d.solid_round_rect(10, 10, 50, 50, 12, 12); },
       [](DrawOnImg& d) { d.clear_round_rect(10, 10, 50, 50, 12, 12); },
       {30, 30}},
      {"circle",
       [](DrawOnImg& d) { d.draw_circle(30, 30, 20); },
       [](DrawOnImg& d) { d.fill_circle(30, 30, 20); },
       [](DrawOnImg& d) { d.solid_circle(30, 30, 20); },
       [](DrawOnImg& d) { d.clear_circle(30, 30, 20); },
       {30, 30}},
      {"ellipse",
       [](DrawOnImg& d) { d.draw_ellipse(10, 10, 50, 50); },
       [](DrawOnImg& d) { d.fill_ellipse(10, 10, 50, 50); },
       [](DrawOnImg& d) { d.solid_ellipse(10, 10, 50, 50); },
       [](DrawOnImg& d) { d.clear_ellipse(10, 10, 50, 50); },
       {30, 30}},
      // Three quarters, counter-clockwise from the right: the lower right is left out.
      {"pie",
       [](DrawOnImg& d) { d.draw_pie(10, 10, 50, 50, 0, 1.5 * pi); },
       [](DrawOnImg& d) { d.fill_pie(10, 10, 50, 50, 0, 1.5 * pi); },
       [](DrawOnImg& d) { d.solid_pie(10, 10, 50, 50, 0, 1.5 * pi); },
       [](DrawOnImg& d) { d.clear_pie(10, 10, 50, 50, 0, 1.5 * pi); },
       {20, 40}},
      {"polygon",
       [](DrawOnImg& d) { d.draw_polygon(square, 4); },
       [](DrawOnImg& d) { d.fill_polygon(square, 4); },
       [](DrawOnImg& d) { d.solid_polygon(square, 4); },
       [](DrawOnImg& d) { d.clear_polygon(square, 4); },
       {30, 30}},
  };
}

// Red pen, blue brush, black background, raster operation R2_COPYPEN.
void set_up_colours(DrawOnImg& d) {
  d.set_line_color(red);
  d.set_fill_color(blue);
  d.set_bk_color(0);
}

void expect_state_restored(PixelCanvas& canvas, const char* family, const char* form) {
  DrawOnImg& d = canvas.device();
  EXPECT_EQ(d.get_line_color(), red) << family << " " << form;
  EXPECT_EQ(d.get_fill_color(), blue) << family << " " << form;
  EXPECT_EQ(canvas.image.line_style.style, PS_SOLID) << family << " " << form;
  EXPECT_EQ(canvas.image.fill_style.style, 0) << family << " " << form;
  EXPECT_EQ(d.get_rop2(), R2_COPYPEN) << family << " " << form;
  // The pen and brush on the DC are the restored ones: a plain fill_rect shows both.
  canvas.paint(0);
  d.fill_rect(0, 0, 5, 5);
  EXPECT_EQ(canvas.at(0, 0), red_px) << family << " " << form;
  EXPECT_EQ(canvas.at(2, 2), blue_px) << family << " " << form;
}

}  // namespace

TEST(DrawingDevice, EveryShapeFamilyHasFourFormsThatRestoreTheState) {
  PixelCanvas canvas(60, 60);
  DrawOnImg& d = canvas.device();
  set_up_colours(d);
  for (const Family& f : families()) {
    canvas.paint(0);
    f.fill(d);
    EXPECT_GT(canvas.count(red_px), 0) << f.name << ": the fill form has an outline";
    EXPECT_EQ(canvas.at(f.inside.x, f.inside.y), blue_px) << f.name << ": and a filled inside";
    EXPECT_EQ(canvas.at(55, 55), black_px) << f.name;
    expect_state_restored(canvas, f.name, "fill");

    canvas.paint(0);
    f.draw(d);
    EXPECT_GT(canvas.count(red_px), 0) << f.name << ": the outline form draws its outline";
    EXPECT_EQ(canvas.count(blue_px), 0) << f.name << ": and leaves the inside untouched";
    expect_state_restored(canvas, f.name, "draw");

    canvas.paint(0);
    f.solid(d);
    EXPECT_EQ(canvas.count(red_px), 0) << f.name << ": the solid form has no outline";
    EXPECT_EQ(canvas.at(f.inside.x, f.inside.y), blue_px) << f.name;
    expect_state_restored(canvas, f.name, "solid");

    canvas.paint(green);
    f.clear(d);
    EXPECT_EQ(canvas.count(red_px), 0) << f.name << ": the clear form has no outline";
    EXPECT_EQ(canvas.at(f.inside.x, f.inside.y), black_px) << f.name << ": it paints the background";
    EXPECT_EQ(canvas.at(55, 55), green_px) << f.name;
    expect_state_restored(canvas, f.name, "clear");
  }
}

TEST(DrawingDevice, SolidRectIsNormalisedAndIncludesItsRightAndBottomEdges) {
  PixelCanvas canvas(20, 20);
  DrawOnImg& d = canvas.device();
  d.set_fill_color(blue);
  d.solid_rect(5, 5, 10, 10);
  std::vector<uint32_t> forward(canvas.image.pixels, canvas.image.pixels + 400);
  const int painted = canvas.count(blue_px);
  canvas.paint(0);
  d.solid_rect(10, 10, 5, 5);
  EXPECT_EQ(std::vector<uint32_t>(canvas.image.pixels, canvas.image.pixels + 400), forward);
  EXPECT_EQ(painted, 36);  // 5..10 both ways
  EXPECT_EQ(canvas.at(5, 5), blue_px);
  EXPECT_EQ(canvas.at(10, 10), blue_px);
  EXPECT_EQ(canvas.at(11, 10), black_px);
}

TEST(DrawingDevice, ClearRectPaintsTheBackgroundEvenUnderXorAndRestoresEverything) {
  PixelCanvas canvas(20, 20);
  DrawOnImg& d = canvas.device();
  canvas.paint(green);
  d.set_bk_color(red);
  d.set_fill_color(blue);
  d.set_fill_style(2, HS_DIAGCROSS, nullptr);
  d.set_rop2(R2_XORPEN);
  d.clear_rect(2, 2, 11, 11);
  EXPECT_EQ(canvas.count(red_px), 100);
  EXPECT_EQ(canvas.at(2, 2), red_px);
  EXPECT_EQ(canvas.at(11, 11), red_px);
  EXPECT_EQ(canvas.at(12, 12), green_px);
  EXPECT_EQ(d.get_rop2(), R2_XORPEN);
  EXPECT_EQ(d.get_fill_color(), blue);
  EXPECT_EQ(canvas.image.fill_style.style, 2);
  EXPECT_EQ(canvas.image.fill_style.hatch, HS_DIAGCROSS);
}

TEST(DrawingDevice, UserLineStyleDrawsItsDashesAndNothingWithoutThem) {
  PixelCanvas canvas(60, 10);
  DrawOnImg& d = canvas.device();
  d.set_line_color(red);
  d.set_line_style(PS_USERSTYLE, 1, nullptr, 0);
  d.draw_line(0, 5, 59, 5);
  EXPECT_EQ(canvas.count(red_px), 0) << "no dashes: a null pen";

  const DWORD dashes[] = {4, 4};
  d.set_line_style(PS_USERSTYLE | PS_ENDCAP_FLAT, 1, dashes, 2);
  d.draw_line(0, 5, 59, 5);
  const int dashed = canvas.count(red_px);
  EXPECT_GT(dashed, 20);
  EXPECT_LT(dashed, 45);

  d.set_line_style(PS_SOLID, 1, dashes, 2);  // dashes mean nothing to a solid pen
  EXPECT_EQ(canvas.image.line_style.dashes, nullptr);
  canvas.paint(0);
  d.draw_line(0, 5, 59, 5);
  EXPECT_GE(canvas.count(red_px), 59);
}

TEST(DrawingDevice, ArcEndpointsFollowTheBoxEllipse) {
  PixelCanvas canvas(4, 4);
  DrawOnImg& d = canvas.device();
  struct Case {
    int l, t, r, b;
    double start, end;
    POINT first, second;
  } cases[] = {
      {0, 0, 100, 50, 0, pi / 2, {100, 25}, {50, 0}},
      {100, 50, 0, 0, 0, pi / 2, {100, 25}, {50, 0}},  // a reversed box is normalised
      {0, 0, 100, 50, pi, 1.5 * pi, {0, 25}, {50, 50}},
      {0, 0, 101, 51, 0, pi / 2, {100, 25}, {50, 0}},              // odd sides: the radii truncate
      {-20, -20, 0, 0, pi / 4, 0.75 * pi, {-3, -17}, {-17, -17}},  // half away from zero
  };
  for (const Case& c : cases) {
    int x1, y1, x2, y2;
    d.arc_endpoints(c.l, c.t, c.r, c.b, c.start, c.end, &x1, &y1, &x2, &y2);
    EXPECT_EQ(x1, c.first.x) << c.l << "," << c.t << " start " << c.start;
    EXPECT_EQ(y1, c.first.y) << c.l << "," << c.t << " start " << c.start;
    EXPECT_EQ(x2, c.second.x) << c.l << "," << c.t << " end " << c.end;
    EXPECT_EQ(y2, c.second.y) << c.l << "," << c.t << " end " << c.end;
  }
}

TEST(DrawingDevice, DrawArcTracesOnlyTheChosenQuarter) {
  PixelCanvas canvas(60, 60);
  DrawOnImg& d = canvas.device();
  d.set_line_color(red);
  d.draw_arc(10, 10, 50, 50, 0, pi / 2);  // upper right quarter
  EXPECT_GT(canvas.count(red_px), 20);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x)
      if (canvas.at(x, y) == red_px) {
        ASSERT_TRUE(x >= 29 && y <= 31) << x << "," << y;
      }
}

TEST(DrawingDevice, FillColourFollowsTheFillStyle) {
  PixelCanvas canvas(16, 16);
  DrawOnImg& d = canvas.device();
  d.set_fill_style(1, 0, nullptr);
  HGDIOBJ null_brush = GetCurrentObject(canvas.image.dc, OBJ_BRUSH);
  d.set_fill_color(blue);
  EXPECT_EQ(GetCurrentObject(canvas.image.dc, OBJ_BRUSH), null_brush) << "a null brush stays";
  EXPECT_EQ(d.get_fill_color(), blue);

  d.set_fill_style(2, HS_HORIZONTAL, nullptr);  // hatched in the fill colour on the background
  d.solid_rect(0, 0, 15, 15);
  std::set<uint32_t> column, row;
  for (int i = 0; i < 16; ++i) {
    column.insert(canvas.at(3, i));
    row.insert(canvas.at(i, 3));
  }
  EXPECT_EQ(column, (std::set<uint32_t>{black_px, blue_px}));
  EXPECT_EQ(row.size(), 1u);
  d.set_fill_color(green);  // re-hatches in the new colour
  d.solid_rect(0, 0, 15, 15);
  EXPECT_EQ(canvas.count(blue_px), 0);
  EXPECT_GT(canvas.count(green_px), 0);
}

TEST(DrawingDevice, PatternBrushesTileTheirImage) {
  PixelCanvas canvas(8, 8);
  DrawOnImg& d = canvas.device();
  IMAGE tile(2, 2);
  const uint32_t colours[4] = {red_px, green_px, blue_px, 0xFFFFFF};
  for (int i = 0; i < 4; ++i) tile.pixels[i] = colours[i];
  d.set_fill_style(5, 0, &tile);
  d.solid_rect(0, 0, 7, 7);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(canvas.at(x, y), colours[(y % 2) * 2 + x % 2]) << x << "," << y;

  const BYTE checker[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
  d.set_fill_pattern_bits(checker);
  EXPECT_EQ(canvas.image.fill_style.style, 3);
  d.solid_rect(0, 0, 7, 7);
  EXPECT_NE(canvas.at(0, 0), canvas.at(1, 0));
  EXPECT_EQ(canvas.at(0, 0), canvas.at(1, 1));
  EXPECT_EQ(canvas.count(canvas.at(0, 0)), 32);
}

TEST(DrawingDevice, ClearClipRegionPaintsOnlyTheClippedArea) {
  PixelCanvas canvas(20, 20);
  DrawOnImg& d = canvas.device();
  canvas.paint(green);
  d.set_bk_color(red);
  d.set_origin(7, 7);  // the clip region is in device units, whatever the origin
  HRGN region = CreateRectRgn(2, 3, 6, 8);
  d.set_clip_region(region);
  DeleteObject(region);
  d.clear_clip_region();
  EXPECT_EQ(canvas.count(red_px), 4 * 5);
  EXPECT_EQ(canvas.at(2, 3), red_px);
  EXPECT_EQ(canvas.at(5, 7), red_px);
  d.set_clip_region(nullptr);
  d.clear_clip_region();  // no clipping: the whole image
  EXPECT_EQ(canvas.count(red_px), 400);
}

TEST(DrawingDevice, TextMeasuresAndFontsAreReplaced) {
  PixelCanvas canvas(80, 30);
  DrawOnImg& d = canvas.device();
  EXPECT_EQ(d.text_width(L""), 0);
  EXPECT_GT(d.text_width(L"WW"), d.text_width(L"W"));
  d.set_font_simple(24, 0, L"Arial");
  LOGFONTW font = {};
  d.get_font(&font);
  EXPECT_EQ(font.lfHeight, 24);
  EXPECT_STREQ(font.lfFaceName, L"Arial");
  EXPECT_EQ(font.lfQuality, NONANTIALIASED_QUALITY);  // kept from the font before
  EXPECT_GE(d.text_height(L"Ag"), 20);
  d.set_text_color(red);
  d.set_bk_mode(TRANSPARENT);
  d.out_text(2, 2, L"Hi");
  EXPECT_GT(canvas.count(red_px), 10);
  EXPECT_EQ(d.get_bk_mode(), TRANSPARENT);
}

namespace {

DWORD gdi_object_count() {
  return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
}

// A GDI handle that has been deleted no longer has an object type.
bool gone(HGDIOBJ object) {
  return GetObjectType(object) == 0;
}

}  // namespace

// The process's GDI object count does not move, and every pen, brush, font,
// bitmap and DC that a change or an image replaced is really deleted (the
// second check also holds where the count is not kept, as under Wine).
TEST(DrawingDevice, NoGdiObjectsPileUpOverManyChangesAndImages) {
  IMAGE keeper;  // the library stays started, so the count compares like with like
  const DWORD before = gdi_object_count();
  {
    PixelCanvas canvas(32, 32);
    DrawOnImg& d = canvas.device();
    HDC dc = canvas.image.dc;
    const DWORD dashes[] = {3, 1};
    for (int i = 0; i < 10000; ++i) {
      const int kind = i % 5;
      const UINT type = kind < 2 ? OBJ_PEN : kind < 4 ? OBJ_BRUSH : OBJ_FONT;
      HGDIOBJ replaced = GetCurrentObject(dc, type);
      switch (kind) {
        case 0:
          d.set_line_color(RGB(i % 256, 0, 0));
          break;
        case 1:
          d.set_line_style(i % 2 ? PS_USERSTYLE : PS_DASH, 1 + i % 3, dashes, 2);
          break;
        case 2:
          d.set_fill_color(RGB(0, i % 256, 0));
          break;
        case 3:
          d.set_fill_style(i % 2 ? 2 : 0, HS_CROSS, nullptr);
          break;
        case 4:
          d.set_font_simple(10 + i % 20, 0, nullptr);
          break;
      }
      ASSERT_TRUE(gone(replaced)) << "change " << i;
    }
  }
  IMAGE tile(2, 2);
  for (int i = 0; i < 1000; ++i) {
    HGDIOBJ dc, bitmap, pen, brush, font;
    {
      PixelCanvas canvas(16, 16);
      DrawOnImg& d = canvas.device();
      d.set_fill_style(5, 0, &tile);  // a pattern image of its own, too
      d.fill_ellipse(1, 1, 14, 14);
      d.draw_rect(0, 0, 15, 15);
      d.out_text(0, 0, L"x");
      dc = canvas.image.dc;
      bitmap = canvas.image.bitmap;
      pen = GetCurrentObject(canvas.image.dc, OBJ_PEN);
      brush = GetCurrentObject(canvas.image.dc, OBJ_BRUSH);
      font = GetCurrentObject(canvas.image.dc, OBJ_FONT);
    }
    ASSERT_TRUE(gone(dc) && gone(bitmap) && gone(pen) && gone(brush) && gone(font)) << "image " << i;
  }
  EXPECT_EQ(gdi_object_count(), before);
}
