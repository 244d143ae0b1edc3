// The C heap in the form the LZMA SDK's decoders take their memory from.
#pragma once

#include <7zTypes.h>

extern const ISzAlloc kLzmaHeap;
