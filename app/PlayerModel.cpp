#include "app/PlayerModel.h"

#include <array>

#include "gfx/Random.h"

namespace {

constexpr size_t kHistoryLimit = 500;

// The display's switches for each named layout: centred at its own size
// and shrunk to fit; stretched over the whole area; as large as fits,
// keeping its shape, centred.
constexpr std::array<TPictureFit, 3> kLayouts{{
    {true, false, true},
    {false, true, false},
    {true, true, true},
}};

} // namespace

TPictureLayout LayoutOf(const TPictureFit& fit)
{
  for (size_t i = 0; i < kLayouts.size(); ++i)
    if (kLayouts[i] == fit)
      return TPictureLayout(i);
  return plCustom;
}

TPictureFit FitOf(TPictureLayout layout, const TPictureFit& current)
{
  return layout < kLayouts.size() ? kLayouts[layout] : current;
}

int TPlayerModel::NextStyle(int styleCount) const
{
  if (styleCount <= 0)
    return Style;
  switch (Order) {
  case eoInOrder: return Style % styleCount + 1;
  case eoRandom: return int(gfx::Random(uint32_t(styleCount))) + 1;
  default: return Style;
  }
}

void TPlayerModel::Shown(const std::string& name)
{
  history_.push_back(name);
  if (history_.size() > kHistoryLimit)
    history_.erase(history_.begin());
}

std::string TPlayerModel::GoBack()
{
  if (!CanGoBack())
    return {};
  history_.pop_back();
  return history_.back();
}
