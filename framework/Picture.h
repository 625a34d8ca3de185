#pragma once
#include "framework/Component.h"
#include "framework/Graphic.h"
#include "framework/MuteScope.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace framework {

class TBitmap;

// Holds one graphic of any registered format, or none. Loading a file picks
// the graphic class by the file's extension. Every change of the picture -
// a new graphic, a load, a change of the graphic itself - raises OnChange.
//
// As a published property of a component it is stored through its binary
// property "Data" (see ReadData), so a description says
// Picture.Data = file "...".
class TPicture : public TPersistent {
public:
  TPicture() = default;
  ~TPicture() override;

  static const TClassInfo& ClassType();
  [[nodiscard]] const TClassInfo& ClassInfo() const override { return ClassType(); }
  // Takes a copy of another picture's graphic; other classes raise the
  // framework's conversion error.
  void Assign(const TPersistent& source) override;

  // The graphic held, or nullptr.
  [[nodiscard]] TGraphic* Graphic() const noexcept { return graphic_.get(); }
  // Takes a copy of graphic (nullptr empties the picture).
  void SetGraphic(const TGraphic* graphic);
  // Takes ownership of a graphic.
  void SetGraphic(std::unique_ptr<TGraphic> graphic);

  [[nodiscard]] int32_t Width() const noexcept;
  [[nodiscard]] int32_t Height() const noexcept;
  // No graphic, or an empty one.
  [[nodiscard]] bool Empty() const noexcept { return !graphic_ || graphic_->Empty(); }

  void Assign(const TPicture& source) { SetGraphic(source.Graphic()); }
  void Assign(const TGraphic* source) { SetGraphic(source); }
  // A copy of the bitmap, as a bitmap graphic.
  void Assign(const TBitmap& bitmap);
  // The held graphic as a bitmap: a picture holding another format (or none)
  // is replaced by an empty bitmap graphic first.
  [[nodiscard]] TBitmap& Bitmap();

  // Loads a file into a new graphic of the class registered for its
  // extension (case-insensitive). An unknown extension, a file that cannot be
  // opened or bad data raise an exception naming the file, and the picture
  // keeps what it held.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

  // The picture as a form description stores it: the graphic's class name
  // (one length byte and the name; an empty name for no graphic) followed by
  // the graphic's data.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;
  void LoadData(std::span<const uint8_t> bytes);
  [[nodiscard]] std::vector<uint8_t> SaveData() const;

  // Draws the graphic into rect when there is one.
  void Draw(TCanvas& canvas, const gfx::TRect& rect) const;

  // Raised after every change. Callers may detach it for a while (see
  // TPictureNotifyDetach) and re-attach it afterwards.
  std::function<void()> OnChange;
  void Changed();

private:
  void Take(std::unique_ptr<TGraphic> graphic);

  std::unique_ptr<TGraphic> graphic_;
};

// Detaches a picture's OnChange for a scope and re-attaches it afterwards,
// also when an exception passes.
class [[nodiscard]] TPictureNotifyDetach : TMuteScope<std::function<void()>> {
public:
  explicit TPictureNotifyDetach(TPicture& picture) : TMuteScope(picture.OnChange) {}
};

} // namespace framework
