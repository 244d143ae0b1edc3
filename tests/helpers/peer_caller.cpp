// A library that imports bridge_peer.dll, for the test that a library loaded
// by its full path finds the libraries beside it.
#include <windows.h>

extern "C" __declspec(dllimport) int WINAPI PeerAnswer();

extern "C" __declspec(dllexport) int WINAPI CallerAnswer() { return PeerAnswer() + 1; }
