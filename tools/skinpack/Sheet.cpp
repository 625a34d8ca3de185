// skinpack sheet: every element of a skin drawn at a few sizes and frames on
// one picture, over a checkerboard so that transparent parts show. The
// legend (row positions and names) goes to the standard output.
#include "tools/skinpack/ModelDump.h"

#include "gfx/codecs/Bmp.h"
#include "skin/SkinData.h"
#include "skin/controls/ElementDraw.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#ifdef PLAYER_SKINPACK_PNG
#include <png.h>
#endif

namespace skinpack {

namespace {

struct TRow {
  std::string Label;
  const framework::TBitmap* Image;
  skin::TElementMargins Margins;
  int32_t Frames;
  bool Stacked;
  bool Tile;
  bool Transparent;
};

constexpr int32_t kSheetWidth = 1400;
constexpr int32_t kGap = 6;

void Checker(gfx::TDrawContext& dc, const gfx::TRect& r)
{
  for (int32_t y = r.Top; y < r.Bottom; y += 8)
    for (int32_t x = r.Left; x < r.Right; x += 8)
      dc.FillRect({x, y, std::min(x + 8, r.Right), std::min(y + 8, r.Bottom)},
                  ((x / 8 + y / 8) % 2) ? 0xD8D8D8 : 0xF4F4F4);
}

// Lays a row out, drawing when dc is given; answers its height.
int32_t LayRow(const TRow& row, gfx::TDrawContext* dc, int32_t top)
{
  const framework::TBitmap& image = *row.Image;
  const gfx::TRect frame = skin::StripFrameRect(image.Width(), image.Height(), row.Stacked, row.Frames, 1);
  const int32_t fw = std::max(frame.Width(), 1);
  const int32_t fh = std::max(frame.Height(), 1);
  int32_t x = kGap;
  int32_t height = std::min(image.Height(), 300);
  // The strip as it is stored.
  const int32_t stripWidth = std::min(image.Width(), 420);
  if (dc) {
    Checker(*dc, gfx::TRect::Bounds(x, top, stripWidth, height));
    dc->BitBlt(x, top, stripWidth, height, &const_cast<framework::TBitmap&>(image).Context(), 0, 0, SRCCOPY);
  }
  x += stripWidth + 3 * kGap;
  // Each frame (up to four) at its own size, wider, taller and at a fixed size.
  const gfx::TPoint sizes[] = {{fw, fh}, {std::min(fw * 2 + 24, 240), fh}, {fw, std::min(fh * 2 + 12, 200)}, {96, 40}};
  for (int32_t k = 1; k <= std::min(row.Frames, 4); ++k) {
    for (const gfx::TPoint& s : sizes) {
      if (x + s.X > kSheetWidth - kGap)
        break;
      if (dc) {
        const gfx::TRect r = gfx::TRect::Bounds(x, top, s.X, s.Y);
        Checker(*dc, r);
        skin::ElementDraw(*dc, r, image, row.Stacked, row.Tile, row.Transparent, row.Frames, k, row.Margins);
      }
      height = std::max(height, s.Y);
      x += s.X + kGap;
    }
    x += 2 * kGap;
  }
  return height + 2 * kGap;
}

std::vector<TRow> Rows(const skin::TSkinData& d)
{
  std::vector<TRow> rows;
  auto add = [&](const std::string& label, const skin::TDataSkinObject* e, bool stacked = false, bool border = false) {
    if (!e || e->Image.Empty())
      return;
    // Always with magenta left out: caption buttons and glyph strips are put
    // on transparently by their consumers whatever Trans says, and the raw
    // strip at the row's start shows the key colour anyway.
    rows.push_back({label, &e->Image, e->Margins(), e->FrameCount(), stacked, border ? e->Tile != 1 : e->Tile == 1,
                    true});
  };
  add("Buttons", d.Buttons.get());
  if (!d.Buttons->CheckImage.Empty())
    rows.push_back({"CheckButton", &d.Buttons->CheckImage, {}, std::max(d.Buttons->CheckButtonFrame, 1), false, false, true});
  if (!d.Buttons->RadioImage.Empty())
    rows.push_back({"RadioButton", &d.Buttons->RadioImage, {}, std::max(d.Buttons->RadioButtonFrame, 1), false, false, true});
  add("caption title", d.CaptionTitle.get());
  add("Left", d.BorderLeft.get(), false, true);
  add("Right", d.BorderRight.get(), false, true);
  add("Top", d.BorderTop.get(), true, true);
  add("Bottom", d.BorderBottom.get(), true, true);
  for (const auto& b : d.CaptionButtons)
    add(b->Name, b.get());
  const struct {
    const char* Label;
    const skin::TDataSkinObject* Element;
  } plain[] = {
    {"Tabs", d.Tabs.get()}, {"UpDown.Horz", d.UpDownHorz.get()}, {"UpDown.Vert", d.UpDownVert.get()},
    {"ComboButton", d.ComboButton.get()}, {"SunkEdge", d.SunkEdge.get()}, {"ExtraImages", d.ExtraImages.get()},
    {"ComboxArrow", d.ComboxArrow.get()}, {"GroupBoxEdge", d.GroupBoxEdge.get()}, {"Toolbar", d.Toolbar.get()},
    {"ToolBars", d.ToolBars.get()}, {"Progress", d.Progress.get()}, {"Progress.Chunk", d.ProgressChunk.get()},
    {"GroupBox", d.GroupBox.get()}, {"StatusBarEdges", d.StatusBarEdges.get()}, {"Tab.Pane", d.TabPane.get()},
    {"Headerbar", d.Headerbar.get()}, {"menu bar", d.MenuBar.get()}, {"MenuItem", d.MenuItem.get()},
    {"MenuBackground", d.MenuBackground.get()}, {"Scrollbar", d.Scrollbar.get()},
    {"HorzScroll", d.HorzScroll.get()}, {"VertScroll", d.VertScroll.get()},
    {"HorzScrollThumb", d.HorzScrollThumb.get()}, {"VertScrollThumb", d.VertScrollThumb.get()},
    {"Thumb.Horz", d.ThumbHorz.get()}, {"Thumb.Vert", d.ThumbVert.get()}, {"Thumb.Left", d.ThumbLeft.get()},
    {"Thumb.Right", d.ThumbRight.get()}, {"Thumb.Up", d.ThumbUp.get()}, {"Thumb.Down", d.ThumbDown.get()},
    {"Track", d.Track.get()}, {"TRACKVERT", d.TrackVert.get()},
  };
  for (const auto& p : plain)
    add(p.Label, p.Element);
  return rows;
}

void WritePicture(const gfx::TPixmap& pixels, const std::filesystem::path& path)
{
  const std::string ext = path.extension().string();
#ifdef PLAYER_SKINPACK_PNG
  if (ext == ".png" || ext == ".PNG") {
    FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file)
      throw std::runtime_error("cannot write " + path.string());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
      png_destroy_write_struct(&png, &info);
      std::fclose(file);
      throw std::runtime_error("cannot write " + path.string());
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(pixels.Width()), png_uint_32(pixels.Height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(pixels.Width()) * 3);
    for (int32_t y = 0; y < pixels.Height(); ++y) {
      const gfx::TPixel* line = pixels.ScanLine(y);
      for (int32_t x = 0; x < pixels.Width(); ++x) {
        row[size_t(x) * 3] = png_byte(line[x] >> 16);
        row[size_t(x) * 3 + 1] = png_byte(line[x] >> 8);
        row[size_t(x) * 3 + 2] = png_byte(line[x]);
      }
      png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return;
  }
#endif
  const std::vector<uint8_t> bytes = gfx::EncodeBmp(pixels, 24);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int SheetCommand(const std::vector<std::string>& args)
{
  if (args.size() != 2 && args.size() != 4)
    throw std::invalid_argument("sheet needs PACKAGE and OUT.png, optionally FIRST and COUNT rows");
  std::ifstream in(args[0], std::ios::binary | std::ios::ate);
  if (!in)
    throw std::runtime_error("cannot open " + args[0]);
  std::vector<uint8_t> package(size_t(in.tellg()), 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(package.data()), std::streamsize(package.size()));
  skin::TSkinData data(nullptr);
  data.SetPackage(std::move(package));
  if (!data.ApplyPackage())
    throw std::runtime_error(args[0] + ": not a skin package of a known format");

  std::vector<TRow> rows = Rows(data);
  if (args.size() == 4) {
    // A part of the sheet, for a closer look at a few elements.
    const size_t first = std::min(size_t(std::stoul(args[2])), rows.size());
    const size_t count = std::min(size_t(std::stoul(args[3])), rows.size() - first);
    rows = std::vector<TRow>(rows.begin() + std::ptrdiff_t(first), rows.begin() + std::ptrdiff_t(first + count));
  }
  int32_t height = kGap;
  for (const TRow& row : rows)
    height += LayRow(row, nullptr, height);
  framework::TBitmap sheet(kSheetWidth, height);
  sheet.Context().FillRect(sheet.Pixmap().Bounds(), 0x303848);
  int32_t top = kGap;
  for (const TRow& row : rows) {
    std::printf("y %5d  %s (%dx%d, %d frames%s)\n", int(top), row.Label.c_str(), int(row.Image->Width()),
                int(row.Image->Height()), int(row.Frames), row.Stacked ? ", stacked" : "");
    top += LayRow(row, &sheet.Context(), top);
  }
  WritePicture(sheet.Pixmap(), args[1]);
  return 0;
}

} // namespace skinpack
