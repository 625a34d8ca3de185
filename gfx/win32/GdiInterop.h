#pragma once
// Bridges between the portable pixel layer and the platform's GDI, for Win32
// code only: regions to and from HRGN, and a memory DC with a bitmap's DIB
// section selected, carrying a drawing context's clip region and viewport
// origin so that GDI text and metafiles obey the same clipping.
#include "gfx/DrawContext.h"
#include "gfx/Region.h"
#include "gfx/win32/GdiHandles.h"

#include <windows.h>

namespace gfx::win32 {

// A new HRGN holding the same pixels; the caller owns it (give it to a
// TGdiRegion).
[[nodiscard]] HRGN RegionToHRGN(const TRegion& region);
// The pixels of an HRGN as a region (empty for a null handle).
[[nodiscard]] TRegion RegionFromHRGN(HRGN rgn);

// Owns an HRGN and deletes it; made from a region of ours, or taking an
// HRGN made elsewhere.
class [[nodiscard]] TGdiRegion : public TGdiObject<HRGN> {
public:
  using TGdiObject<HRGN>::TGdiObject;
  explicit TGdiRegion(const TRegion& region) : TGdiObject<HRGN>(RegionToHRGN(region)) {}
};

// A memory DC with a DIB section selected for the life of this object. When
// a context is given, its clip region and viewport origin are applied to the
// DC. A DIB section can be selected into one DC at a time.
class TBitmapDC {
public:
  explicit TBitmapDC(void* hbitmap, const TDrawContext* state = nullptr);
  ~TBitmapDC();
  TBitmapDC(const TBitmapDC&) = delete;
  TBitmapDC& operator=(const TBitmapDC&) = delete;
  [[nodiscard]] HDC Get() const noexcept { return dc_.Get(); }

private:
  TMemoryDC dc_;
  HGDIOBJ previous_ = nullptr;
};

// Applies a context's clip region and viewport origin to a DC.
void ApplyState(HDC dc, const TDrawContext& state);

} // namespace gfx::win32
