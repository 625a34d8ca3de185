#pragma once
#include <string>

namespace skin {

// The skin library tells the user about one thing only: a package whose format
// it does not know. The portable code cannot open a message box itself, so the
// platform layer installs a hook that shows the text; without one the text
// goes to the standard error stream.
using TSkinMessageHook = void (*)(const std::string& text);

// Installs the hook and returns the previous one; nullptr restores the default.
TSkinMessageHook SetSkinMessageHook(TSkinMessageHook hook);

void ShowSkinMessage(const std::string& text);

// The text shown for a package of an unknown format (a carriage return
// separates the two lines).
inline constexpr const char* kOlderSkinFileMessage = "This is Older Skin File\rPlease update to new version !";

} // namespace skin
