#pragma once
#include "framework/Exceptions.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace framework {

class TCanvas;
class TStream;

// A picture of some format: its size, drawing onto a canvas at natural size
// or stretched, loading and saving in its file format, and a change
// notification. The concrete classes are the bitmap, JPEG, PNG, icon and
// metafile graphics; TPicture holds one of them.
class TGraphic {
public:
  TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;
  virtual ~TGraphic() = default;

  // The class name stored with the graphic's data in form descriptions.
  [[nodiscard]] virtual const char* GraphicClassName() const = 0;
  // A new empty graphic of the same class.
  [[nodiscard]] virtual std::unique_ptr<TGraphic> NewInstance() const = 0;
  // A new graphic of the same class holding the same picture.
  [[nodiscard]] std::unique_ptr<TGraphic> Clone() const;

  [[nodiscard]] virtual int32_t Width() const = 0;
  [[nodiscard]] virtual int32_t Height() const = 0;
  [[nodiscard]] virtual bool Empty() const = 0;

  // The largest size a picture of the given full size will be shown at.
  using TShowLimit = std::function<gfx::TSize(gfx::TSize fullSize)>;
  // Tells the graphic how large it will be shown at most. A graphic that can
  // decode at a reduced size (JPEG) then keeps only the pixels that takes, and
  // decodes again, larger, once a later limit needs more; Width and Height go
  // on answering the full size, so layouts stay those of the whole picture.
  // An empty limit asks for the full size. This caches pixels and changes no
  // picture, so OnChange is not raised. Given before loading, it also holds
  // for the load.
  virtual void SetShowLimit(TShowLimit) {}
  // The size of the pixels the graphic draws from: its full size, unless a
  // show limit let it keep fewer. Drawing into a rectangle of this size is a
  // plain copy.
  [[nodiscard]] virtual gfx::TSize PixelSize() const { return {Width(), Height()}; }
  // The colour that shows through the picture's transparent parts, for a
  // graphic that composes them when decoding (PNG); others draw over what the
  // canvas holds and ignore it. Given before loading, it holds for the load.
  virtual void SetBackground(gfx::TColor) {}

  // Draws the graphic into rect on the canvas: at its natural size when rect
  // has that size, stretched otherwise. The canvas's clip region and viewport
  // origin apply.
  virtual void Draw(TCanvas& canvas, const gfx::TRect& rect) const = 0;

  // Reads the graphic's file format from the stream's position to its end.
  // Bad data raises EInvalidGraphic and leaves the graphic as it was.
  virtual void LoadFromStream(TStream& stream) = 0;
  // Writes the graphic in its file format; formats we cannot write raise
  // EInvalidGraphicOperation.
  virtual void SaveToStream(TStream& stream) const = 0;
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;
  // The same from and to bytes in memory.
  void LoadFromBytes(std::span<const uint8_t> bytes);
  [[nodiscard]] std::vector<uint8_t> SaveToBytes() const;

  // The graphic's data as stored in a form description: a 32-bit length and
  // the file-format bytes.
  virtual void ReadData(TStream& stream);
  virtual void WriteData(TStream& stream) const;

  // Takes another graphic's picture. The base accepts a graphic of the same
  // class; others raise EConvertError-like EInvalidGraphicOperation.
  virtual void Assign(const TGraphic& source);

  // Raised after the picture changed (loaded, assigned, drawn on).
  std::function<void()> OnChange;

protected:
  void Changed();
};

// The graphic classes a picture can hold, by file extension and by class name.
struct TGraphicFormat {
  std::string Extension;    // lower case, without the dot: "bmp"
  std::string Description;  // "Bitmaps"
  std::function<std::unique_ptr<TGraphic>()> Create;
};

// Registers a format (a later registration of the same extension replaces
// the earlier one). The built-in formats are bmp, ico, wmf, emf, jpg, jpeg, png.
void RegisterFileFormat(const std::string& extension, const std::string& description,
                        std::function<std::unique_ptr<TGraphic>()> create);
[[nodiscard]] std::vector<TGraphicFormat> GraphicFormats();
// The registered extensions, lower case, in registration order.
[[nodiscard]] std::vector<std::string> GraphicExtensions();
// "*.bmp;*.ico;*.wmf;*.emf;*.jpg;*.jpeg;*.png": the mask of a folder listing.
[[nodiscard]] std::string GraphicFileMask();
// An open-dialog filter: "All (mask)|mask|Bitmaps (*.bmp)|*.bmp|...".
[[nodiscard]] std::string GraphicFilter();
// A new graphic for a file name's extension (case-insensitive), or nullptr.
[[nodiscard]] std::unique_ptr<TGraphic> CreateGraphicForFile(const std::string& fileName);
// A new graphic of the class registered for the file's extension, loaded from
// the file under the show limit and over the background colour. An unknown
// extension, a file that cannot be opened or bad data raise an exception
// naming the file.
[[nodiscard]] std::unique_ptr<TGraphic> LoadGraphicFromFile(const std::string& fileName,
                                                            TGraphic::TShowLimit limit = {},
                                                            gfx::TColor background = gfx::clWhite);
// A new graphic of a stored class name ("TBitmap", "TJPEGImage", "TPngImage",
// "TIcon", "TMetafile"), or nullptr.
[[nodiscard]] std::unique_ptr<TGraphic> CreateGraphicByClassName(const std::string& className);

} // namespace framework
