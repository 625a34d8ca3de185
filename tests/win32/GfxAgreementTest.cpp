// Our regions, clips and blits against the platform's GDI on the same input:
// many seeded random cases, compared pixel for pixel. GDI is the reference.
#include <windows.h>

#include "gfx/DrawContext.h"
#include "gfx/Region.h"
#include "gfx/win32/GdiInterop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using gfx::TDrawContext;
using gfx::TPixel;
using gfx::TPixmap;
using gfx::TPoint;
using gfx::TRect;
using gfx::TRegion;
using gfx::win32::RegionFromHRGN;
using gfx::win32::TGdiRegion;

namespace {

std::string Describe(const TRegion& r)
{
  std::ostringstream out;
  out << r.RectCount() << " rects:";
  size_t n = 0;
  for (const TRect& x : r.Rects()) {
    if (++n > 12) {
      out << " ...";
      break;
    }
    out << " (" << x.Left << "," << x.Top << "," << x.Right << "," << x.Bottom << ")";
  }
  return out.str();
}

void ExpectSameRegion(HRGN gdi, const TRegion& ours, const std::string& what)
{
  ASSERT_NE(gdi, nullptr) << what;
  const TRegion theirs = RegionFromHRGN(gdi);
  EXPECT_EQ(theirs, ours) << what << "\n  GDI:  " << Describe(theirs) << "\n  ours: " << Describe(ours);
}

// A DIB section with a memory DC, and our context on the same pixels.
struct TDib {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  TPixel* bits = nullptr;
  TPixmap pixmap;
  int32_t w, h;

  TDib(int32_t width, int32_t height) : w(width), h(height)
  {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* p = nullptr;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &p, nullptr, 0);
    old = SelectObject(dc, bitmap);
    bits = static_cast<TPixel*>(p);
    pixmap = TPixmap::Borrow(bits, width, height);
  }
  ~TDib()
  {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  TDib(const TDib&) = delete;
  TDib& operator=(const TDib&) = delete;

  void Fill(uint32_t seed)
  {
    GdiFlush();
    for (int32_t i = 0; i < w * h; ++i)
      bits[i] = (uint32_t(i) * 2654435761u + seed) & 0x00FFFFFFu;
  }
  std::vector<TPixel> Pixels()
  {
    GdiFlush();
    return {bits, bits + size_t(w) * size_t(h)};
  }
};

std::string FirstDifference(const std::vector<TPixel>& a, const std::vector<TPixel>& b, int32_t w, int32_t h)
{
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) {
      std::ostringstream out;
      out << "first difference at (" << int32_t(i) % w << ", " << h - 1 - int32_t(i) / w << "): GDI " << std::hex
          << a[i] << " ours " << b[i];
      return out.str();
    }
  return {};
}

// The platform traces a corner ellipse column by column from its middle row
// and stops when it runs out of columns; for very tall, narrow ellipses
// rows are then left unset, and the reference answers whatever memory held.
// Those shapes are left out of the comparison (ours continues the tip).
bool CornerTraceCompletes(int64_t left, int64_t top, int64_t right, int64_t bottom, int64_t ew, int64_t eh)
{
  if (left > right)
    std::swap(left, right);
  if (top > bottom)
    std::swap(top, bottom);
  ew = std::min(right - 1 - left, ew < 0 ? -ew : ew);
  eh = std::min(bottom - 1 - top, eh < 0 ? -eh : eh);
  if (ew < 2 || eh < 2)
    return true;
  const int64_t a = ew - 1, b = eh - 1;
  int64_t dx = 4 * b * b * (1 - a), dy = 4 * a * a * (1 + (b % 2));
  int64_t err = dx + dy + a * a * (b % 2);
  int64_t x = 0, y = eh / 2;
  while (x <= ew / 2) {
    const int64_t e2 = 2 * err;
    if (e2 >= dx) {
      ++x;
      err += dx += 8 * b * b;
    }
    if (e2 <= dy) {
      ++y;
      err += dy += 8 * a * a;
    }
  }
  return y >= eh - 1;
}

} // namespace

TEST(GdiAgreement, RectangleListsAsExtCreateRegionTakesThem)
{
  std::mt19937 rng(20261208);
  for (int round = 0; round < 400; ++round) {
    std::vector<TRect> rects;
    const int n = 1 + int(rng() % (round % 10 == 0 ? 300 : 15));
    for (int i = 0; i < n; ++i) {
      TRect r{int32_t(rng() % 300) - 50, int32_t(rng() % 300) - 50, 0, 0};
      r.Right = r.Left + int32_t(rng() % 80) - 10; // some empty or inverted
      r.Bottom = r.Top + int32_t(rng() % 80) - 10;
      rects.push_back(r);
    }
    std::vector<unsigned char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(header);
    header.iType = RDH_RECTANGLES;
    header.nCount = DWORD(rects.size());
    std::memcpy(buffer.data(), &header, sizeof(header));
    for (size_t i = 0; i < rects.size(); ++i) {
      const RECT r{rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom};
      std::memcpy(buffer.data() + sizeof(header) + i * sizeof(RECT), &r, sizeof(r));
    }
    TGdiRegion gdi(ExtCreateRegion(nullptr, DWORD(buffer.size()), reinterpret_cast<RGNDATA*>(buffer.data())));
    ExpectSameRegion(gdi.Get(), TRegion::FromRects(rects), "rect list, round " + std::to_string(round));
    if (HasFailure())
      return;
  }
}

TEST(GdiAgreement, PolygonsWithBothFillModes)
{
  std::mt19937 rng(4711);
  for (int round = 0; round < 600; ++round) {
    // Mostly small busy polygons, some large ones reaching far outside any
    // bitmap, and degenerate ones (two points, collinear, zero area).
    const int kind = round % 6;
    const int n = kind == 0 ? 2 : 3 + int(rng() % (kind == 1 ? 20 : 7));
    const int32_t span = kind == 2 ? 20000 : 120;
    std::vector<TPoint> pts;
    for (int i = 0; i < n; ++i)
      pts.push_back({int32_t(rng() % uint32_t(span)) - span / 4, int32_t(rng() % uint32_t(span)) - span / 4});
    if (kind == 3)
      for (size_t i = 0; i < pts.size(); ++i)
        pts[i] = {int32_t(i) * 7, int32_t(i) * 3}; // collinear
    for (int mode : {ALTERNATE, WINDING}) {
      std::vector<POINT> gp;
      for (const TPoint& p : pts)
        gp.push_back({p.X, p.Y});
      TGdiRegion gdi(CreatePolygonRgn(gp.data(), int(gp.size()), mode));
      ExpectSameRegion(gdi.Get(), TRegion::FromPolygon(pts, mode),
                       "polygon round " + std::to_string(round) + " mode " + std::to_string(mode));
      if (HasFailure())
        return;
    }
  }
}

TEST(GdiAgreement, EllipsesAndRoundedRectangles)
{
  std::mt19937 rng(99);
  int skipped = 0;
  for (int round = 0; round < 800; ++round) {
    const int32_t l = int32_t(rng() % 200) - 60;
    const int32_t t = int32_t(rng() % 200) - 60;
    const int32_t r = l + int32_t(rng() % (round % 7 == 0 ? 2000 : 90)) - 5; // some inverted
    const int32_t b = t + int32_t(rng() % (round % 5 == 0 ? 1500 : 90)) - 5;
    // Corner ellipses: small, larger than the rectangle, negative.
    const int32_t ew = int32_t(rng() % 160) - 20;
    const int32_t eh = int32_t(rng() % 160) - 20;
    if (!CornerTraceCompletes(l, t, r, b, r - l, b - t) || !CornerTraceCompletes(l, t, r, b, ew, eh)) {
      ++skipped;
      continue;
    }
    TGdiRegion ellipse(CreateEllipticRgn(l, t, r, b));
    ExpectSameRegion(ellipse.Get(), TRegion::FromEllipse(l, t, r, b),
                     "ellipse " + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
                       std::to_string(b));
    TGdiRegion round_(CreateRoundRectRgn(l, t, r, b, ew, eh));
    ExpectSameRegion(round_.Get(), TRegion::FromRoundRect(l, t, r, b, ew, eh),
                     "round rect " + std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
                       std::to_string(b) + " corner " + std::to_string(ew) + "x" + std::to_string(eh));
    if (HasFailure())
      return;
  }
  EXPECT_LT(skipped, 200) << "too few shapes compared";
}

TEST(GdiAgreement, CombinationsInEveryMode)
{
  std::mt19937 rng(31337);
  const auto randomShape = [&]() -> std::pair<TGdiRegion, TRegion> {
    const int32_t l = int32_t(rng() % 100), t = int32_t(rng() % 100);
    const int32_t r = l + int32_t(rng() % 80) + 1, b = t + int32_t(rng() % 80) + 1;
    switch (rng() % 3) {
    case 0:
      if (CornerTraceCompletes(l, t, r, b, r - l, b - t))
        return {TGdiRegion(CreateEllipticRgn(l, t, r, b)), TRegion::FromEllipse(l, t, r, b)};
      [[fallthrough]];
    case 1:
      return {TGdiRegion(CreateRectRgn(l, t, r, b)), TRegion::FromRectangle(l, t, r, b)};
    default: {
      std::vector<TPoint> pts;
      std::vector<POINT> gp;
      for (int i = 0; i < 6; ++i) {
        pts.push_back({int32_t(rng() % 150), int32_t(rng() % 150)});
        gp.push_back({pts.back().X, pts.back().Y});
      }
      return {TGdiRegion(CreatePolygonRgn(gp.data(), 6, WINDING)), TRegion::FromPolygon(pts, WINDING)};
    }
    }
  };
  for (int round = 0; round < 300; ++round) {
    auto [ga, a] = randomShape();
    auto [gb, b] = randomShape();
    for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY}) {
      TGdiRegion out(CreateRectRgn(0, 0, 0, 0));
      const int kind = CombineRgn(out.Get(), ga.Get(), gb.Get(), mode);
      const TRegion ours = TRegion::Combine(a, b, mode);
      ExpectSameRegion(out.Get(), ours, "combine mode " + std::to_string(mode));
      // A copy keeps the platform's own rectangle list, which need not be
      // merged like ours, so only computed results are compared by kind.
      if (mode != RGN_COPY) {
        EXPECT_EQ(kind, ours.Kind()) << "mode " << mode << " " << Describe(ours);
      }
      if (HasFailure())
        return;
    }
  }
}

TEST(GdiAgreement, ColourOnColourStretches)
{
  std::mt19937 rng(2024);
  TDib src(61, 47), gdi(73, 59), ours(73, 59);
  src.Fill(12345);
  TDrawContext s(src.pixmap), d(ours.pixmap);
  SetStretchBltMode(gdi.dc, COLORONCOLOR);
  d.SetStretchBltMode(COLORONCOLOR);
  int skipped = 0, compared = 0;
  for (int round = 0; round < 3000; ++round) {
    gdi.Fill(uint32_t(round));
    ours.Fill(uint32_t(round));
    const auto coord = [&](int32_t size) { return int32_t(rng() % uint32_t(size + 40)) - 20; };
    const auto extent = [&](int32_t size) {
      int32_t e = int32_t(rng() % uint32_t(2 * size)) + 1;
      return rng() % 4 == 0 ? -e : e;
    };
    const int32_t x = coord(gdi.w), y = coord(gdi.h), w = extent(gdi.w), h = extent(gdi.h);
    const int32_t sx = coord(src.w), sy = coord(src.h), sw = extent(src.w), sh = extent(src.h);
    // A mirrored transfer whose source rectangle is cut by the bitmap's edge
    // is where the reference shifts the picture against its own unclipped
    // result (see the report of this suite); those are not compared.
    const TRect srcRect{sw < 0 ? sx + sw + 1 : sx, sh < 0 ? sy + sh + 1 : sy, sw < 0 ? sx + 1 : sx + sw,
                        sh < 0 ? sy + 1 : sy + sh};
    const bool mirrored = (w < 0) || (h < 0) || (sw < 0) || (sh < 0);
    if (mirrored && !TRect(0, 0, src.w, src.h).Contains(srcRect)) {
      ++skipped;
      continue;
    }
    ++compared;
    StretchBlt(gdi.dc, x, y, w, h, src.dc, sx, sy, sw, sh, SRCCOPY);
    d.StretchBlt(x, y, w, h, &s, sx, sy, sw, sh, SRCCOPY);
    const auto a = gdi.Pixels(), b = ours.Pixels();
    ASSERT_EQ(a, b) << "StretchBlt(" << x << ", " << y << ", " << w << ", " << h << ", src, " << sx << ", " << sy
                    << ", " << sw << ", " << sh << ") " << FirstDifference(a, b, gdi.w, gdi.h);
  }
  EXPECT_GT(compared, 800);
}

// Destinations of a 4K frame's size, which our stretch makes row by row in a
// staging row and stores past the cache: enlargements whose rows repeat,
// mirrored, rows that only move, and reductions.
TEST(GdiAgreement, StretchesOntoLargeBitmaps)
{
  TDib src(1030, 1000), gdi(2060, 2100), ours(2060, 2100);
  src.Fill(777);
  TDrawContext s(src.pixmap), d(ours.pixmap);
  SetStretchBltMode(gdi.dc, COLORONCOLOR);
  d.SetStretchBltMode(COLORONCOLOR);
  struct TCase {
    int32_t x, y, w, h, sx, sy, sw, sh;
  };
  const TCase cases[] = {
    {0, 0, 2060, 2100, 0, 0, 1030, 1000},
    {2059, 2099, -2060, -2100, 0, 0, 1030, 1000},
    {-3, 7, 2070, 2090, 1029, 0, -1030, 1000},
    {1, 3, 2058, 2097, 0, 0, 1030, 999},
    {0, 0, 2060, 2100, 10, 20, 1010, 700},
  };
  for (const TCase& c : cases) {
    gdi.Fill(3);
    ours.Fill(3);
    StretchBlt(gdi.dc, c.x, c.y, c.w, c.h, src.dc, c.sx, c.sy, c.sw, c.sh, SRCCOPY);
    d.StretchBlt(c.x, c.y, c.w, c.h, &s, c.sx, c.sy, c.sw, c.sh, SRCCOPY);
    const auto a = gdi.Pixels(), b = ours.Pixels();
    ASSERT_EQ(a, b) << "StretchBlt(" << c.x << ", " << c.y << ", " << c.w << ", " << c.h << ", src, " << c.sx << ", "
                    << c.sy << ", " << c.sw << ", " << c.sh << ") " << FirstDifference(a, b, gdi.w, gdi.h);
  }
}

TEST(GdiAgreement, BlitsThroughClipRegionsAndViewportOrigins)
{
  std::mt19937 rng(8);
  TDib src(50, 40), gdi(64, 48), ours(64, 48);
  src.Fill(777);
  TDrawContext s(src.pixmap), d(ours.pixmap);
  for (int round = 0; round < 500; ++round) {
    gdi.Fill(uint32_t(round));
    ours.Fill(uint32_t(round));
    std::vector<TRect> rects;
    for (int i = 0; i < 8; ++i) {
      const int32_t x = int32_t(rng() % 80) - 8, y = int32_t(rng() % 60) - 8;
      rects.push_back({x, y, x + int32_t(rng() % 20), y + int32_t(rng() % 20)});
    }
    const TRegion clip = TRegion::FromRects(rects);
    TGdiRegion clipRgn(clip);
    SelectClipRgn(gdi.dc, clipRgn.Get());
    d.SelectClipRgn(&clip);
    const int32_t ox = int32_t(rng() % 21) - 10, oy = int32_t(rng() % 21) - 10;
    SetViewportOrgEx(gdi.dc, ox, oy, nullptr);
    d.SetViewportOrg(ox, oy);
    // Clip calls take logical rectangles, some of them inverted.
    const int32_t cl = int32_t(rng() % 60) - 5, ct = int32_t(rng() % 50) - 5;
    const int32_t cr = cl + int32_t(rng() % 50) - 8, cb = ct + int32_t(rng() % 40) - 8;
    const bool exclude = rng() % 2 != 0;
    if (exclude) {
      EXPECT_EQ(ExcludeClipRect(gdi.dc, cl, ct, cr, cb), d.ExcludeClipRect(cl, ct, cr, cb));
    } else {
      EXPECT_EQ(IntersectClipRect(gdi.dc, cl, ct, cr, cb), d.IntersectClipRect(cl, ct, cr, cb));
    }
    {
      TGdiRegion now(CreateRectRgn(0, 0, 0, 0));
      GetClipRgn(gdi.dc, now.Get());
      EXPECT_EQ(RegionFromHRGN(now.Get()), *d.ClipRegion())
        << (exclude ? "exclude" : "intersect") << " (" << cl << "," << ct << "," << cr << "," << cb << ") origin "
        << ox << "," << oy << "\n  GDI:  " << Describe(RegionFromHRGN(now.Get())) << "\n  ours: "
        << Describe(*d.ClipRegion()) << "\n  before: " << Describe(clip);
    }
    RECT box;
    TRect ourBox;
    EXPECT_EQ(GetClipBox(gdi.dc, &box), d.GetClipBox(ourBox));
    if (ourBox.IsEmpty()) {
      EXPECT_TRUE(IsRectEmpty(&box));
    } else {
      EXPECT_EQ(TRect(box.left, box.top, box.right, box.bottom), ourBox)
        << "GDI (" << box.left << "," << box.top << "," << box.right << "," << box.bottom << ") ours ("
        << ourBox.Left << "," << ourBox.Top << "," << ourBox.Right << "," << ourBox.Bottom << ")";
    }
    // Probes come with their corners in any order.
    const RECT probe{int32_t(rng() % 70) - 5, int32_t(rng() % 50) - 5, int32_t(rng() % 70) - 5, int32_t(rng() % 50) - 5};

    EXPECT_EQ(bool(RectVisible(gdi.dc, &probe)), d.RectVisible({probe.left, probe.top, probe.right, probe.bottom}))
      << "RectVisible(" << probe.left << "," << probe.top << "," << probe.right << "," << probe.bottom << ")";

    const int32_t x = int32_t(rng() % 80) - 10, y = int32_t(rng() % 60) - 10;
    const int32_t w = int32_t(rng() % 70), h = int32_t(rng() % 50);
    const int32_t sx = int32_t(rng() % 60) - 5, sy = int32_t(rng() % 50) - 5;
    BitBlt(gdi.dc, x, y, w, h, src.dc, sx, sy, SRCCOPY);
    d.BitBlt(x, y, w, h, &s, sx, sy, SRCCOPY);
    const auto a = gdi.Pixels(), b = ours.Pixels();
    ASSERT_EQ(a, b) << "round " << round << " BitBlt(" << x << ", " << y << ", " << w << ", " << h << ", src, "
                    << sx << ", " << sy << ") origin " << ox << "," << oy << " " << FirstDifference(a, b, gdi.w, gdi.h);

    // The clip region as the platform holds it equals ours.
    TGdiRegion current(CreateRectRgn(0, 0, 0, 0));
    if (GetClipRgn(gdi.dc, current.Get()) == 1) {
      ASSERT_TRUE(d.ClipRegion().has_value());
      EXPECT_EQ(RegionFromHRGN(current.Get()), *d.ClipRegion()) << "round " << round;
    }
    SelectClipRgn(gdi.dc, nullptr);
    SetViewportOrgEx(gdi.dc, 0, 0, nullptr);
    d.SelectClipRgn(nullptr);
    d.SetViewportOrg(0, 0);
  }
}

TEST(GdiAgreement, SelfCopiesAndSelfStretches)
{
  std::mt19937 rng(55);
  TDib gdi(40, 30), ours(40, 30);
  TDrawContext d(ours.pixmap);
  SetStretchBltMode(gdi.dc, COLORONCOLOR);
  for (int round = 0; round < 300; ++round) {
    gdi.Fill(uint32_t(round) * 3);
    ours.Fill(uint32_t(round) * 3);
    const int32_t x = int32_t(rng() % 50) - 5, y = int32_t(rng() % 40) - 5;
    const int32_t sx = int32_t(rng() % 50) - 5, sy = int32_t(rng() % 40) - 5;
    const int32_t w = int32_t(rng() % 40) + 1, h = int32_t(rng() % 30) + 1;
    if (round % 2) {
      BitBlt(gdi.dc, x, y, w, h, gdi.dc, sx, sy, SRCCOPY);
      d.BitBlt(x, y, w, h, &d, sx, sy, SRCCOPY);
    } else {
      const int32_t sw = int32_t(rng() % 40) + 1, sh = int32_t(rng() % 30) + 1;
      StretchBlt(gdi.dc, x, y, w, h, gdi.dc, sx, sy, sw, sh, SRCCOPY);
      d.StretchBlt(x, y, w, h, &d, sx, sy, sw, sh, SRCCOPY);
    }
    const auto a = gdi.Pixels(), b = ours.Pixels();
    ASSERT_EQ(a, b) << "round " << round << " " << FirstDifference(a, b, gdi.w, gdi.h);
  }
}

TEST(GdiAgreement, RegionsSurviveTheTripThroughHRGN)
{
  const std::vector<TPoint> star{{50, 0}, {80, 100}, {0, 35}, {100, 35}, {20, 100}};
  const TRegion ours = TRegion::FromPolygon(star, ALTERNATE);
  TGdiRegion rgn(ours);
  EXPECT_EQ(RegionFromHRGN(rgn.Get()), ours);
  for (int32_t y = 0; y < 100; y += 3)
    for (int32_t x = 0; x < 100; x += 3)
      ASSERT_EQ(bool(PtInRegion(rgn.Get(), x, y)), ours.Contains(x, y)) << x << "," << y;
  TGdiRegion empty{TRegion()};
  RECT box;
  EXPECT_EQ(GetRgnBox(empty.Get(), &box), NULLREGION);
}
