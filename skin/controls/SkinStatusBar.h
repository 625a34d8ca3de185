#pragma once
// TSkinStatusBar: a status bar repainted whole from the skin: panel edges from
// "StatusBarEdges" (or a plain 3-D line), the panels' texts, the size grip
// from "ExtraImages", the bar's windowless children, and owner-drawn panels
// through the bar's own event.
#include "skin/controls/SkinControl.h"

#include <vector>

namespace framework {
class TStatusBar;
}

namespace skin {

class TSkinStatusBar final : public TSkinControl {
protected:
  bool BeforeMessage(framework::TMessage& message) override;
  void DrawSkin(HDC dc, const gfx::TRect& rect) override;

private:
  struct TPart {
    gfx::TRect Rect;
    int32_t Look = 1;
    UINT Alignment = DT_LEFT;
    std::wstring Text;
    bool HasText = true;
  };

  [[nodiscard]] std::vector<TPart> ReadParts(const framework::TStatusBar& bar, const gfx::TRect& rect) const;
  void DrawEdge(HDC dc, const TPart& part) const;
  void DrawText(HDC dc, const TPart& part) const;
  void DrawGrip(HDC dc, const gfx::TRect& rect) const;
};

} // namespace skin
