// The value formats every markup attribute uses. Malformed text never
// fails: it reads as 0, false or the numbers that could be read.
#pragma once

#include <cstdint>
#include <string_view>

#include "ui/geometry/ui_rect.h"

namespace SkinUI {

// Optional "-", then decimal digits up to the first other character; no
// digits give 0. Digits beyond the 32-bit range wrap.
int ParseInteger(std::wstring_view text);

// Up to `count` integers, each an optional "-" and digits, separated by any
// other characters; numbers that are missing are 0.
void ParseIntegerList(std::wstring_view text, int* numbers, int count);
UiRect ParseRect(std::wstring_view text);
UiSize ParseSize(std::wstring_view text);

// Up to `count` reals ("0.5", "-1", "1e2"), separated by any characters that
// cannot start a number; missing ones are 0.
void ParseRealList(std::wstring_view text, float* numbers, int count);

// An optional "#", then characters worth 0-9 (digits) and 10-35 (letters),
// accumulated as value * 16 + digit in 32 bits: only the last eight digits
// count, so "0xffffffff" and "#FFFFFFFF" are both opaque white (0xAARRGGBB).
uint32_t ParseColour(std::wstring_view text);

// "true", "on", "yes", "ok", "1" and any other non-empty text are true;
// "false", "off", "no", "cancel", "0" and the empty text are false.
bool ParseBool(std::wstring_view text);

}  // namespace SkinUI
