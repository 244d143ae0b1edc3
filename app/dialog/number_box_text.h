// The completion view's number, as the texts of the controls a skin puts in
// its number box: one control takes the whole number; several are digit
// boxes, filled from the right, with the digits that do not fit kept
// together in the first. Plain text arithmetic, tested on its own.
#pragma once

#include <string>
#include <vector>

std::vector<std::wstring> NumberBoxTexts(long number, size_t boxes);
