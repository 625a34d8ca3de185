// Plays metafiles with the platform's GDI into the pixels of our bitmaps.
// It is part of the portable framework library in the Win32 build (see
// framework/CMakeLists.txt), which calls PlayMetafile from TMetafile::Draw.
#include "framework/Bitmap.h"
#include "framework/Canvas.h"
#include "framework/Metafile.h"
#include "gfx/win32/GdiInterop.h"

#include <windows.h>

namespace framework {
namespace {

constexpr size_t kPlaceableHeaderSize = 22;

// Owns an enhanced-metafile handle.
class TEnhMetafile {
public:
  explicit TEnhMetafile(HENHMETAFILE handle) noexcept : handle_(handle) {}
  ~TEnhMetafile()
  {
    if (handle_)
      DeleteEnhMetaFile(handle_);
  }
  TEnhMetafile(const TEnhMetafile&) = delete;
  TEnhMetafile& operator=(const TEnhMetafile&) = delete;
  [[nodiscard]] HENHMETAFILE Get() const noexcept { return handle_; }

private:
  HENHMETAFILE handle_;
};

// Every metafile is played as an enhanced one: a Windows metafile is
// converted by GDI, told its size so that it maps its window onto the whole
// target rectangle.
TEnhMetafile Open(const TMetafile& metafile)
{
  const std::vector<uint8_t>& data = metafile.Data();
  if (metafile.Enhanced())
    return TEnhMetafile(SetEnhMetaFileBits(UINT(data.size()), data.data()));
  const size_t skip = metafile.Placeable() ? kPlaceableHeaderSize : 0;
  METAFILEPICT picture{};
  picture.mm = MM_ANISOTROPIC;
  picture.xExt = MulDiv(metafile.Width(), 2540, 96); // hundredths of a millimetre
  picture.yExt = MulDiv(metafile.Height(), 2540, 96);
  return TEnhMetafile(SetWinMetaFileBits(UINT(data.size() - skip), data.data() + skip, nullptr, &picture));
}

} // namespace

void PlayMetafile(const TMetafile& metafile, TCanvas& canvas, const gfx::TRect& rect)
{
  gfx::TDrawContext* dc = canvas.Handle();
  const gfx::TRect target = rect.Normalized();
  if (!dc || target.IsEmpty() || metafile.Data().empty())
    return;
  const TEnhMetafile handle = Open(metafile);
  if (!handle.Get())
    throw EInvalidGraphic("The metafile cannot be read by the platform");
  // The records are played into a scratch bitmap that starts as a copy of the
  // canvas (metafiles often leave their background alone); the result goes
  // back through the canvas, which applies its clip region. The scratch
  // covers the whole visible area, not just rect: GDI does not clip a
  // metafile to its rectangle, and a wide pen at the edge draws outside it.
  const gfx::TRect part = canvas.ClipRect();
  if (part.IsEmpty())
    return;
  TBitmap scratch(part.Width(), part.Height());
  scratch.Context().BitBlt(0, 0, part.Width(), part.Height(), dc, part.Left, part.Top, SRCCOPY);
  {
    gfx::win32::TBitmapDC memory(scratch.NativeHandle());
    const RECT bounds{target.Left - part.Left, target.Top - part.Top, target.Right - part.Left,
                      target.Bottom - part.Top};
    if (!PlayEnhMetaFile(memory.Get(), handle.Get(), &bounds))
      throw EInvalidGraphic("The platform could not play the metafile");
  }
  GdiFlush();
  canvas.Draw(part.Left, part.Top, scratch);
}

} // namespace framework
