#include "gfx/win32/GdiInterop.h"

#include <cstring>
#include <new>
#include <vector>

namespace gfx::win32 {

HRGN RegionToHRGN(const TRegion& region)
{
  const auto rects = region.Rects();
  if (rects.empty())
    return CreateRectRgn(0, 0, 0, 0);
  std::vector<unsigned char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER header{};
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = DWORD(rects.size());
  header.nRgnSize = DWORD(rects.size() * sizeof(RECT));
  const TRect& b = region.Bounds();
  header.rcBound = RECT{b.Left, b.Top, b.Right, b.Bottom};
  std::memcpy(buffer.data(), &header, sizeof(header));
  for (size_t i = 0; i < rects.size(); ++i) {
    const RECT r{rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom};
    std::memcpy(buffer.data() + sizeof(header) + i * sizeof(RECT), &r, sizeof(RECT));
  }
  HRGN rgn = ExtCreateRegion(nullptr, DWORD(buffer.size()), reinterpret_cast<const RGNDATA*>(buffer.data()));
  if (!rgn)
    throw std::bad_alloc();
  return rgn;
}

TRegion RegionFromHRGN(HRGN rgn)
{
  if (!rgn)
    return {};
  const DWORD size = GetRegionData(rgn, 0, nullptr);
  if (size < sizeof(RGNDATAHEADER))
    return {};
  std::vector<unsigned char> buffer(size);
  if (GetRegionData(rgn, size, reinterpret_cast<RGNDATA*>(buffer.data())) != size)
    return {};
  RGNDATAHEADER header;
  std::memcpy(&header, buffer.data(), sizeof(header));
  std::vector<TRect> rects(header.nCount);
  for (size_t i = 0; i < rects.size(); ++i) {
    RECT r;
    std::memcpy(&r, buffer.data() + header.dwSize + i * sizeof(RECT), sizeof(RECT));
    rects[i] = {r.left, r.top, r.right, r.bottom};
  }
  // The platform's bands need not be merged the way ours are; rebuilding
  // gives the canonical form.
  return TRegion::FromRects(rects);
}

void ApplyState(HDC dc, const TDrawContext& state)
{
  const TPoint origin = state.ViewportOrg();
  SetViewportOrgEx(dc, origin.X, origin.Y, nullptr);
  if (const auto& clip = state.ClipRegion()) {
    TGdiRegion rgn(*clip);
    SelectClipRgn(dc, rgn.Get());
  } else {
    SelectClipRgn(dc, nullptr);
  }
}

TBitmapDC::TBitmapDC(void* hbitmap, const TDrawContext* state)
{
  dc_ = TMemoryDC(nullptr);
  if (hbitmap)
    previous_ = SelectObject(dc_.Get(), static_cast<HBITMAP>(hbitmap));
  if (state)
    ApplyState(dc_.Get(), *state);
}

TBitmapDC::~TBitmapDC()
{
  // Whatever GDI drew must be in the pixels before they are read directly.
  GdiFlush();
  if (previous_)
    SelectObject(dc_.Get(), previous_);
}

} // namespace gfx::win32
