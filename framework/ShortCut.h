#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Keyboard shortcuts of menu items and the accelerator letters of captions.
// A shortcut is a virtual-key code in the low byte with the modifier bits
// above it, so it fits in 16 bits and is stored as a number; its text form
// ("Ctrl+O", "Shift+F11", "Space") is what menus show and what form
// descriptions hold. Portable: the virtual-key codes are the platform's
// numbers, spelt out here.
namespace framework {

using TShortCut = uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scKeyMask = 0x00FF;

// Modifier bits as the shift state of key events carries them
// (ssShift = 1, ssAlt = 2, ssCtrl = 4).
[[nodiscard]] TShortCut MakeShortCut(uint16_t key, uint8_t shiftState);
[[nodiscard]] constexpr uint16_t ShortCutKey(TShortCut shortCut) noexcept { return shortCut & scKeyMask; }

// "Ctrl+Shift+O"; scNone and keys without a name give "".
[[nodiscard]] std::string ShortCutToText(TShortCut shortCut);
// The reverse, case-insensitive, modifiers in any order; "" gives scNone.
// Text that names no key gives scNone as well.
[[nodiscard]] TShortCut TextToShortCut(std::string_view text);

// The accelerator of a caption: the character after a single '&' ("&&" is a
// literal ampersand), upper-cased when it is an ASCII letter; 0 when none.
[[nodiscard]] char32_t CaptionAccelerator(std::string_view caption);
// Whether a typed character selects the caption (letters compare without
// regard to case).
[[nodiscard]] bool IsAccel(char32_t key, std::string_view caption);
// The caption as shown: accelerator marks removed, "&&" kept as one '&'.
[[nodiscard]] std::string StripHotkey(std::string_view caption);

} // namespace framework
