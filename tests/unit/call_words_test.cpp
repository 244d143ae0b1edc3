// Checks the word-pushing thunk on the architecture it is built for: 32-bit
// x86 (built for i386 Linux and run under qemu-i386, since 32-bit programs
// cannot start on the test machines) and x86-64 Windows (run under Wine).
// For each convention and each argument count the callee must see every word
// in its place, the result must come back, and the caller's stack pointer and
// saved registers must be as they were. A plain program, so the i386 build
// needs nothing but the host compiler.
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "script/call_words.h"

namespace {

using Word = std::uintptr_t;

#if defined(__i386__)
#define NEB_STDCALL __attribute__((stdcall))
#define NEB_CDECL __attribute__((cdecl))
#else
#define NEB_STDCALL
#define NEB_CDECL
#endif

std::vector<Word> g_seen;

template <std::size_t>
using WordAt = Word;

// Callees with as many word parameters as the index pack has entries. Each
// records what it received and returns a value only a correct call produces.
template <std::size_t... I>
struct Callee {
  static Word NEB_STDCALL Stdcall(WordAt<I>... words) { return Record({words...}); }
  static Word NEB_CDECL Cdecl(WordAt<I>... words) { return Record({words...}); }

  static Word Record(std::vector<Word> words) {
    g_seen = words;
    Word sum = 0;
    for (std::size_t i = 0; i < words.size(); ++i) sum += words[i] * (i + 1);
    return sum ^ 0x5A5A;
  }
};

template <std::size_t... I>
Callee<I...> MakeCallee(std::index_sequence<I...>);
template <std::size_t N>
using CalleeOf = decltype(MakeCallee(std::make_index_sequence<N>()));

struct Measured {
  Word result;
  Word stackBefore;
  Word stackAfter;
};

// Calls the thunk from assembly so the stack pointer can be read right before
// and right after; the two readings sit in registers the thunk must preserve.
// The first reading is put back afterwards, so a faulty thunk shows as a
// failed check instead of breaking this function's own frame.
Measured CallMeasuringStack(const void* function, const Word* words, std::size_t count) {
  Measured m{};
#if defined(__i386__)
  struct {
    const void* function;
    const Word* words;
    std::size_t count;
    const void* thunk;
  } call = {function, words, count, reinterpret_cast<const void*>(&CallWithWords)};
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "pushl 8(%[call])\n\t"
      "pushl 4(%[call])\n\t"
      "pushl 0(%[call])\n\t"
      "call *12(%[call])\n\t"
      "addl $12, %%esp\n\t"
      "movl %%esp, %%edi\n\t"
      "movl %%esi, %%esp\n\t"
      : "=a"(m.result), "=&S"(m.stackBefore), "=&D"(m.stackAfter)
      : [call] "r"(&call)
      : "ecx", "edx", "memory", "cc");
#elif defined(__x86_64__) && defined(_WIN32)
  register const void* rcx asm("rcx") = function;
  register const Word* rdx asm("rdx") = words;
  register std::size_t r8 asm("r8") = count;
  asm volatile(
      "movq %%rsp, %%rsi\n\t"
      "subq $32, %%rsp\n\t"
      "call *%[thunk]\n\t"
      "addq $32, %%rsp\n\t"
      "movq %%rsp, %%rdi\n\t"
      "movq %%rsi, %%rsp\n\t"
      : "=a"(m.result), "=&S"(m.stackBefore), "=&D"(m.stackAfter), "+r"(rcx), "+r"(rdx), "+r"(r8)
      : [thunk] "r"(reinterpret_cast<const void*>(&CallWithWords))
      : "r9", "r10", "r11", "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "memory", "cc");
#else
#error "no thunk for this architecture"
#endif
  return m;
}

struct Case {
  const char* name;
  const void* function;
  std::size_t count;
};

template <std::size_t N>
Case StdcallCase(const char* name) {
  return {name, reinterpret_cast<const void*>(&CalleeOf<N>::Stdcall), N};
}
template <std::size_t N>
Case CdeclCase(const char* name) {
  return {name, reinterpret_cast<const void*>(&CalleeOf<N>::Cdecl), N};
}

#if defined(__i386__)
const Case kCases[] = {
    StdcallCase<0>("stdcall 0"),  StdcallCase<1>("stdcall 1"),  StdcallCase<5>("stdcall 5"),
    StdcallCase<16>("stdcall 16"), CdeclCase<0>("cdecl 0"),     CdeclCase<1>("cdecl 1"),
    CdeclCase<5>("cdecl 5"),       CdeclCase<16>("cdecl 16"),
};
#else
// One convention: the two markers name the same thing here.
const Case kCases[] = {
    StdcallCase<0>("0 words"), StdcallCase<1>("1 word"), StdcallCase<5>("5 words"),
    StdcallCase<16>("16 words"),
};
#endif

bool Check(const Case& c) {
  std::vector<Word> words;
  for (std::size_t i = 0; i < c.count; ++i) {
    // Distinct in every byte, and using the whole word where it is 64 bits.
    words.push_back(static_cast<Word>(0x01020304u * (i + 1)) ^ (static_cast<Word>(~Word{0}) << 24));
  }
  g_seen.assign(1, 0xDEAD);  // a callee that is never reached leaves this behind
  const Measured m = CallMeasuringStack(c.function, words.data(), words.size());

  Word expected = 0;
  for (std::size_t i = 0; i < words.size(); ++i) expected += words[i] * (i + 1);
  expected ^= 0x5A5A;

  bool ok = true;
  if (g_seen != words) {
    std::printf("FAIL %s: the callee received other words\n", c.name);
    ok = false;
  }
  if (m.result != expected) {
    std::printf("FAIL %s: result %#llx, expected %#llx\n", c.name,
                static_cast<unsigned long long>(m.result), static_cast<unsigned long long>(expected));
    ok = false;
  }
  if (m.stackAfter != m.stackBefore) {
    std::printf("FAIL %s: stack pointer moved by %lld bytes\n", c.name,
                static_cast<long long>(m.stackAfter - m.stackBefore));
    ok = false;
  }
  if (ok) std::printf("ok %s\n", c.name);
  return ok;
}

}  // namespace

int main() {
  bool ok = true;
  for (const Case& c : kCases) ok = Check(c) && ok;
  return ok ? 0 : 1;
}
