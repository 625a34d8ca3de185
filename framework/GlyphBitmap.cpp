#include "framework/GlyphBitmap.h"

#include "framework/Streams.h"
#include "framework/TypeInfo.h"

namespace framework {

const TClassInfo& TGlyphBitmap::ClassType()
{
  static TClassInfo info("TGlyphBitmap", &TPersistent::ClassType());
  static const bool published = [] {
    TPropInfo data;
    data.Name = "Data";
    data.Kind = TTypeKind::tkBinary;
    data.GetBytes = [](const TObject& o) { return static_cast<const TGlyphBitmap&>(o).SaveData(); };
    data.SetBytes = [](TObject& o, const std::vector<uint8_t>& bytes) {
      static_cast<TGlyphBitmap&>(o).LoadData(bytes);
    };
    info.Add(std::move(data));
    return true;
  }();
  (void)published;
  return info;
}

TGlyphBitmap::TGlyphBitmap()
{
  graphic_.OnChange = [this] {
    if (OnChange)
      OnChange();
  };
}

TGlyphBitmap::~TGlyphBitmap() { graphic_.OnChange = nullptr; }

void TGlyphBitmap::Assign(const TPersistent& source)
{
  if (const auto* glyph = dynamic_cast<const TGlyphBitmap*>(&source)) {
    Assign(glyph->Bitmap());
    return;
  }
  TPersistent::Assign(source);
}

void TGlyphBitmap::LoadData(std::span<const uint8_t> bytes)
{
  if (bytes.empty()) {
    Assign(TBitmap());
    return;
  }
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  graphic_.ReadData(stream);
}

std::vector<uint8_t> TGlyphBitmap::SaveData() const
{
  if (Empty())
    return {};
  TMemoryStream stream;
  graphic_.WriteData(stream);
  return stream.Memory();
}

} // namespace framework
