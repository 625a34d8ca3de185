#pragma once
// The skin data model as text and as a picture, for skin authors who want to
// check a skin without starting the program.
#include <ostream>
#include <string>
#include <vector>

namespace skin {
class TSkinData;
}

namespace skinpack {

// Every element (present or absent, image size, frame count, margins, flags,
// text colours), the colour table with its given-flags, the COLOUR sections,
// the custom colours, the caption buttons with the MDI buttons, and the
// derived images.
void DumpSkinModel(const skin::TSkinData& data, std::ostream& out);

// skinpack model PACKAGE
int ModelCommand(const std::vector<std::string>& args);
// skinpack stream PACKAGE OUT.bin: the package as a form description's
// SkinStream value (its length, then the package).
int StreamCommand(const std::vector<std::string>& args);
// skinpack sheet PACKAGE OUT.png|OUT.bmp [FIRST COUNT]
int SheetCommand(const std::vector<std::string>& args);

} // namespace skinpack
