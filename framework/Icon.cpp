#include "framework/Icon.h"

#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Streams.h"

#include <algorithm>

namespace framework {

std::unique_ptr<TGraphic> TIcon::NewInstance() const
{
  return std::make_unique<TIcon>();
}

int32_t TIcon::Width() const
{
  return entries_.empty() ? 0 : entries_[natural_].Width;
}

int32_t TIcon::Height() const
{
  return entries_.empty() ? 0 : entries_[natural_].Height;
}

size_t TIcon::EntryFor(int32_t width, int32_t height) const
{
  // Only entries we decoded are candidates; PNG entries are left out.
  std::vector<gfx::TIconEntry> usable;
  std::vector<size_t> index;
  for (const auto& [i, image] : images_) {
    usable.push_back(entries_[i]);
    index.push_back(i);
  }
  if (usable.empty())
    return 0;
  return index[gfx::SelectIconEntry(usable, width, height, 32)];
}

void TIcon::Draw(TCanvas& canvas, const gfx::TRect& rect) const
{
  gfx::TDrawContext* dc = canvas.Handle();
  const gfx::TRect target = rect.Normalized();
  if (!dc || images_.empty() || target.IsEmpty())
    return;
  // Compose only the visible part: a stretched icon may be far larger than
  // the canvas.
  const gfx::TRect part = target.Intersected(canvas.ClipRect());
  if (part.IsEmpty())
    return;
  const gfx::TIconImage& image = images_.at(EntryFor(target.Width(), target.Height()));
  // What the canvas shows under the icon, the icon composed over it, and
  // the result drawn back through the canvas (clip region and all).
  TBitmap scratch(part.Width(), part.Height());
  scratch.Context().BitBlt(0, 0, part.Width(), part.Height(), dc, part.Left, part.Top, SRCCOPY);
  gfx::ComposeIconImage(image, scratch.Pixmap(), target.Width(), target.Height(), part.Left - target.Left,
                        part.Top - target.Top);
  canvas.Draw(part.Left, part.Top, scratch);
}

void TIcon::LoadFromStream(TStream& stream)
{
  std::vector<uint8_t> data = stream.ReadToEnd();
  std::vector<gfx::TIconEntry> entries;
  std::map<size_t, gfx::TIconImage> images;
  try {
    entries = gfx::ReadIconDirectory(data);
    for (size_t i = 0; i < entries.size(); ++i)
      if (!entries[i].Png)
        images.emplace(i, gfx::DecodeIconImage(data, entries[i]));
  } catch (const gfx::TCodecError& e) {
    throw EInvalidGraphic(e.what());
  }
  if (images.empty())
    throw EInvalidGraphic("Invalid icon: only images stored as PNG, which are not supported");
  // The natural size is the largest usable image, the deepest among equals.
  size_t natural = images.begin()->first;
  for (const auto& [i, image] : images) {
    const auto& a = entries[i];
    const auto& b = entries[natural];
    if (int64_t(a.Width) * a.Height > int64_t(b.Width) * b.Height ||
        (int64_t(a.Width) * a.Height == int64_t(b.Width) * b.Height && a.BitsPerPixel > b.BitsPerPixel))
      natural = i;
  }
  // The decoded size is the truth when the directory disagrees.
  for (auto& [i, image] : images) {
    entries[i].Width = image.Pixels.Width();
    entries[i].Height = image.Pixels.Height();
  }
  data_ = std::move(data);
  entries_ = std::move(entries);
  images_ = std::move(images);
  natural_ = natural;
  Changed();
}

void TIcon::SaveToStream(TStream& stream) const
{
  stream.WriteBuffer(data_);
}

void TIcon::Assign(const TGraphic& source)
{
  if (&source == this)
    return;
  const auto* other = dynamic_cast<const TIcon*>(&source);
  if (!other) {
    TGraphic::Assign(source);
    return;
  }
  TMemoryStream copy(other->data_);
  if (other->data_.empty()) {
    data_.clear();
    entries_.clear();
    images_.clear();
    natural_ = 0;
    Changed();
    return;
  }
  LoadFromStream(copy);
}

} // namespace framework
