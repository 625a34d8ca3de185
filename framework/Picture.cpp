#include "framework/Picture.h"

#include "framework/BitmapGraphic.h"
#include "framework/Streams.h"
#include "framework/TypeInfo.h"

namespace framework {

const TClassInfo& TPicture::ClassType()
{
  static TClassInfo info("TPicture", &TPersistent::ClassType());
  static const bool published = [] {
    TPropInfo data;
    data.Name = "Data";
    data.Kind = TTypeKind::tkBinary;
    // An empty picture stores nothing at all.
    data.GetBytes = [](const TObject& o) {
      const auto& picture = static_cast<const TPicture&>(o);
      return picture.Graphic() ? picture.SaveData() : std::vector<uint8_t>();
    };
    data.SetBytes = [](TObject& o, const std::vector<uint8_t>& bytes) { static_cast<TPicture&>(o).LoadData(bytes); };
    info.Add(std::move(data));
    return true;
  }();
  (void)published;
  return info;
}

void TPicture::Assign(const TPersistent& source)
{
  if (const auto* picture = dynamic_cast<const TPicture*>(&source)) {
    SetGraphic(picture->Graphic());
    return;
  }
  TPersistent::Assign(source);
}

TPicture::~TPicture()
{
  if (graphic_)
    graphic_->OnChange = nullptr;
}

void TPicture::Take(std::unique_ptr<TGraphic> graphic)
{
  if (graphic_)
    graphic_->OnChange = nullptr;
  graphic_ = std::move(graphic);
  if (graphic_)
    graphic_->OnChange = [this] { Changed(); };
  Changed();
}

void TPicture::SetGraphic(const TGraphic* graphic)
{
  if (graphic == graphic_.get() && graphic)
    return;
  Take(graphic ? graphic->Clone() : nullptr);
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
  Take(std::move(graphic));
}

int32_t TPicture::Width() const noexcept
{
  return graphic_ ? graphic_->Width() : 0;
}

int32_t TPicture::Height() const noexcept
{
  return graphic_ ? graphic_->Height() : 0;
}

void TPicture::Assign(const TBitmap& bitmap)
{
  auto graphic = std::make_unique<TBitmapGraphic>();
  graphic->Assign(bitmap);
  Take(std::move(graphic));
}

TBitmap& TPicture::Bitmap()
{
  if (auto* bitmap = dynamic_cast<TBitmapGraphic*>(graphic_.get()))
    return bitmap->Bitmap();
  auto graphic = std::make_unique<TBitmapGraphic>();
  TBitmap& result = graphic->Bitmap();
  Take(std::move(graphic));
  return result;
}

void TPicture::LoadFromFile(const std::string& fileName)
{
  Take(LoadGraphicFromFile(fileName));
}

void TPicture::SaveToFile(const std::string& fileName) const
{
  if (!graphic_)
    throw EInvalidGraphicOperation("There is no picture to save to \"" + fileName + "\"");
  graphic_->SaveToFile(fileName);
}

void TPicture::ReadData(TStream& stream)
{
  const uint8_t length = stream.ReadUInt8();
  const std::vector<uint8_t> nameBytes = stream.ReadBytes(length);
  const std::string className(nameBytes.begin(), nameBytes.end());
  if (className.empty()) {
    Take(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> graphic = CreateGraphicByClassName(className);
  if (!graphic)
    throw EInvalidGraphic("Unknown picture class \"" + className + "\" in stored picture data");
  try {
    graphic->ReadData(stream);
  } catch (const EReadError&) {
    throw EInvalidGraphic("The stored " + className + " picture data is truncated");
  }
  Take(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) const
{
  if (!graphic_) {
    stream.WriteUInt8(0);
    return;
  }
  const std::string className = graphic_->GraphicClassName();
  stream.WriteUInt8(uint8_t(className.size()));
  stream.WriteBuffer(className.data(), className.size());
  graphic_->WriteData(stream);
}

void TPicture::LoadData(std::span<const uint8_t> bytes)
{
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  ReadData(stream);
}

std::vector<uint8_t> TPicture::SaveData() const
{
  TMemoryStream stream;
  WriteData(stream);
  return std::move(stream.Memory());
}

void TPicture::Draw(TCanvas& canvas, const gfx::TRect& rect) const
{
  if (graphic_)
    graphic_->Draw(canvas, rect);
}

void TPicture::Changed()
{
  if (OnChange)
    OnChange();
}

} // namespace framework
