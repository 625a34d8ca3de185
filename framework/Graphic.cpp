#include "framework/Graphic.h"

#include "framework/BitmapGraphic.h"
#include "framework/Icon.h"
#include "framework/JPEGImage.h"
#include "framework/Metafile.h"
#include "framework/PngImage.h"
#include "framework/Streams.h"

#include <algorithm>
#include <mutex>

namespace framework {

// ----- TGraphic -------------------------------------------------------------

std::unique_ptr<TGraphic> TGraphic::Clone() const
{
  std::unique_ptr<TGraphic> copy = NewInstance();
  copy->Assign(*this);
  return copy;
}

void TGraphic::LoadFromFile(const std::string& fileName)
{
  TFileStream file(fileName, fmOpenRead);
  try {
    LoadFromStream(file);
  } catch (const EInvalidGraphic& e) {
    throw EInvalidGraphic("Cannot load the picture \"" + fileName + "\": " + e.Message());
  } catch (const EReadError& e) {
    throw EInvalidGraphic("Cannot load the picture \"" + fileName + "\": " + e.Message());
  }
}

void TGraphic::SaveToFile(const std::string& fileName) const
{
  TMemoryStream buffer;
  SaveToStream(buffer); // before creating the file, so an unsupported format leaves no empty file
  TFileStream file(fileName, fmCreate);
  buffer.SaveToStream(file);
}

void TGraphic::LoadFromBytes(std::span<const uint8_t> bytes)
{
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  LoadFromStream(stream);
}

std::vector<uint8_t> TGraphic::SaveToBytes() const
{
  TMemoryStream stream;
  SaveToStream(stream);
  return std::move(stream.Memory());
}

void TGraphic::ReadData(TStream& stream)
{
  const uint32_t size = stream.ReadUInt32();
  TMemoryStream data(stream.ReadBytes(size));
  LoadFromStream(data);
}

void TGraphic::WriteData(TStream& stream) const
{
  TMemoryStream data;
  SaveToStream(data);
  if (data.Memory().size() > 0xFFFFFFFFu)
    throw EWriteError("The picture is too large to store");
  stream.WriteUInt32(uint32_t(data.Memory().size()));
  data.SaveToStream(stream);
}

void TGraphic::Assign(const TGraphic& source)
{
  throw EInvalidGraphicOperation(std::string("Cannot assign a ") + source.GraphicClassName() + " to a " +
                                 GraphicClassName());
}

void TGraphic::Changed()
{
  if (OnChange)
    OnChange();
}

// ----- Registered formats ---------------------------------------------------

namespace {

std::string Lower(std::string text)
{
  for (char& c : text)
    if (c >= 'A' && c <= 'Z')
      c = char(c - 'A' + 'a');
  return text;
}

struct TRegistry {
  std::mutex Lock;
  std::vector<TGraphicFormat> Formats;

  TRegistry()
  {
    auto add = [this](const char* ext, const char* description, std::function<std::unique_ptr<TGraphic>()> create) {
      Formats.push_back({ext, description, std::move(create)});
    };
    add("bmp", "Bitmaps", [] { return std::make_unique<TBitmapGraphic>(); });
    add("ico", "Icons", [] { return std::make_unique<TIcon>(); });
    add("wmf", "Metafiles", [] { return std::make_unique<TMetafile>(); });
    add("emf", "Enhanced Metafiles", [] { return std::make_unique<TMetafile>(); });
    add("jpg", "JPEG Image File", [] { return std::make_unique<TJPEGImage>(); });
    add("jpeg", "JPEG Image File", [] { return std::make_unique<TJPEGImage>(); });
    add("png", "PNG Image File", [] { return std::make_unique<TPngImage>(); });
  }
};

TRegistry& Registry()
{
  static TRegistry registry;
  return registry;
}

} // namespace

void RegisterFileFormat(const std::string& extension, const std::string& description,
                        std::function<std::unique_ptr<TGraphic>()> create)
{
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  const std::string ext = Lower(extension);
  for (TGraphicFormat& f : r.Formats)
    if (f.Extension == ext) {
      f.Description = description;
      f.Create = std::move(create);
      return;
    }
  r.Formats.push_back({ext, description, std::move(create)});
}

std::vector<TGraphicFormat> GraphicFormats()
{
  TRegistry& r = Registry();
  std::lock_guard guard(r.Lock);
  return r.Formats;
}

std::vector<std::string> GraphicExtensions()
{
  std::vector<std::string> out;
  for (const TGraphicFormat& f : GraphicFormats())
    out.push_back(f.Extension);
  return out;
}

std::string GraphicFileMask()
{
  std::string mask;
  for (const TGraphicFormat& f : GraphicFormats()) {
    if (!mask.empty())
      mask += ';';
    mask += "*." + f.Extension;
  }
  return mask;
}

std::string GraphicFilter()
{
  const std::string all = GraphicFileMask();
  std::string filter = "All (" + all + ")|" + all;
  for (const TGraphicFormat& f : GraphicFormats())
    filter += "|" + f.Description + " (*." + f.Extension + ")|*." + f.Extension;
  return filter;
}

std::unique_ptr<TGraphic> CreateGraphicForFile(const std::string& fileName)
{
  // The extension is what follows the last dot of the last path component.
  const size_t slash = fileName.find_last_of("/\\");
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
    return nullptr;
  const std::string ext = Lower(fileName.substr(dot + 1));
  for (const TGraphicFormat& f : GraphicFormats())
    if (f.Extension == ext)
      return f.Create();
  return nullptr;
}

std::unique_ptr<TGraphic> LoadGraphicFromFile(const std::string& fileName, TGraphic::TShowLimit limit,
                                              gfx::TColor background)
{
  std::unique_ptr<TGraphic> graphic = CreateGraphicForFile(fileName);
  if (!graphic) {
    const size_t dot = fileName.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : fileName.substr(dot);
    throw EInvalidGraphic("Unknown picture file extension (" + ext + ") of \"" + fileName + "\"");
  }
  graphic->SetShowLimit(std::move(limit));
  graphic->SetBackground(background);
  graphic->LoadFromFile(fileName);
  return graphic;
}

std::unique_ptr<TGraphic> CreateGraphicByClassName(const std::string& className)
{
  for (const TGraphicFormat& f : GraphicFormats()) {
    std::unique_ptr<TGraphic> g = f.Create();
    if (className == g->GraphicClassName())
      return g;
  }
  return nullptr;
}

} // namespace framework
