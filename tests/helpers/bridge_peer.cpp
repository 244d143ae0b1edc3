// A library for the native call bridge tests that nothing else loads, so a
// test can tell from whether its module is present how often it was loaded
// and whether an unload freed it. Its exports go by their plain names on
// both builds, as a system library's do (on i686 also by their decorated
// names, which the import library refers to).
#include <windows.h>

extern "C" __declspec(dllexport) int WINAPI PeerAnswer() { return 42; }

// A result whose low 32 bits are 0 and whose high bits are not: the kinds
// that read a 32-bit value see 0, an address sees the whole result word
// (on i686 the word is the low 32 bits alone).
extern "C" __declspec(dllexport) unsigned long long WINAPI PeerHighWord() { return 5ull << 32; }
