// The machine-level half of calling a native function whose parameter list is
// only known at run time: every argument is one machine word. Free of any
// system header, so the same thunks also build for i386 Linux and can be
// exercised there.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// Calls `function` with words[0] .. words[count - 1] as its arguments, the
// first word as the first argument, and returns the word the function leaves
// in the return register.
//
// 32-bit x86: the words go onto the stack for stdcall or cdecl alike. The
// thunk keeps its own stack pointer in a saved register and restores it after
// the call, so it is the same whether the callee removed its arguments
// (stdcall), left them (cdecl), or removed the wrong number.
// x86-64 Windows: the one convention of that platform; the first four words
// travel in registers, the rest on the stack above the shadow space.
std::uintptr_t CallWithWords(const void* function, const std::uintptr_t* words, std::size_t count);
}
