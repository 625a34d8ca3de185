#pragma once
// Composing one frame of a transition the way the display component does it,
// for the tools, tests and benchmarks that run effects outside a component.
#include "effects/EffectTable.h"

#include <cstdint>

namespace framework {
class TBitmap;
}

namespace effects {

// Makes Frame the frame of style Style at Progress (0..100) between OldImage
// and NewImage, which must have the same size: the old image is copied in
// whole; at 0 nothing more is drawn, at 100 the new picture is copied whole;
// otherwise the stretch mode is set to colour-on-colour and the style's
// procedure is called with the progress-scaled X and Y. Frame is resized to
// the pictures' size. Throws std::invalid_argument for sizes that differ and
// for style 0 (custom drawing has no procedure), and std::out_of_range for a
// style above 176 or a progress above 100.
void ComposeEffectFrame(framework::TBitmap& Frame, framework::TBitmap& OldImage, framework::TBitmap& NewImage,
                        TShowStyle Style, int32_t Progress);

} // namespace effects
