// Faults one instruction at a time and prints how each reached the
// program's exception handler: its code, its address relative to the
// faulting instruction, and for an access violation its parameters (the
// address the instruction used prints as "target"); then what the
// page-fault guards IsBadReadPtr and IsBadWritePtr answer. The lines are
// the same on both builds, under every Wine that reports faults as Windows
// does.
// Usage: fault_probe
#include <windows.h>

#include <cstdint>
#include <cstdio>

// Each probe faults at its fault label; the exception handler records the
// fault and resumes the given number of bytes after the label.
extern "C" {
void ProbeRead(void* address) asm("neb_probe_read");
void ProbeWrite(void* address) asm("neb_probe_write");
void ProbeBreakpoint() asm("neb_probe_breakpoint");
void ProbeDivide() asm("neb_probe_divide");
void ProbeInvalidOpcode() asm("neb_probe_invalid_opcode");
void ProbePrivileged() asm("neb_probe_privileged");
void ProbeDebugService() asm("neb_probe_debug_service");
extern const unsigned char kReadFault[] asm("neb_read_fault");
extern const unsigned char kWriteFault[] asm("neb_write_fault");
extern const unsigned char kBreakpointFault[] asm("neb_breakpoint_fault");
extern const unsigned char kDivideFault[] asm("neb_divide_fault");
extern const unsigned char kInvalidOpcodeFault[] asm("neb_invalid_opcode_fault");
extern const unsigned char kPrivilegedFault[] asm("neb_privileged_fault");
extern const unsigned char kDebugServiceFault[] asm("neb_debug_service_fault");
}

#if defined(__x86_64__)
#define NEB_FIRST_ARGUMENT_TO_CX ""
#define NEB_CX "%rcx"
#else
#define NEB_FIRST_ARGUMENT_TO_CX "movl 4(%esp), %ecx\n"
#define NEB_CX "%ecx"
#endif

asm(".text\n"
    "neb_probe_read:\n" NEB_FIRST_ARGUMENT_TO_CX
    "neb_read_fault: movb (" NEB_CX "), %al\n"
    "ret\n"
    "neb_probe_write:\n" NEB_FIRST_ARGUMENT_TO_CX
    "neb_write_fault: movb %al, (" NEB_CX ")\n"
    "ret\n"
    "neb_probe_breakpoint:\n"
    "neb_breakpoint_fault: int3\n"
    "ret\n"
    "neb_probe_divide: xorl %edx, %edx\n"
    "movl $1, %eax\n"
    "xorl %ecx, %ecx\n"
    "neb_divide_fault: divl %ecx\n"
    "ret\n"
    "neb_probe_invalid_opcode:\n"
    "neb_invalid_opcode_fault: ud2\n"
    "ret\n"
    "neb_probe_privileged:\n"
    "neb_privileged_fault: hlt\n"
    "ret\n"
    // The debug service interrupt: with a service number that asks for
    // nothing known it is a breakpoint whose parameters are the three
    // registers, reported after the byte that follows the instruction.
    "neb_probe_debug_service: xorl %eax, %eax\n"
    "xorl %ecx, %ecx\n"
    "xorl %edx, %edx\n"
    "neb_debug_service_fault: int $0x2d\n"
    "nop\n"
    "ret\n");

namespace {

struct Fault {
  const unsigned char* instruction;
  size_t length;
  const void* target;
  EXCEPTION_RECORD record;
  bool seen;
};

Fault current;

LONG CALLBACK RecordFault(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
  const auto address = reinterpret_cast<uintptr_t>(record->ExceptionAddress);
  const auto start = reinterpret_cast<uintptr_t>(current.instruction);
  if (current.seen || address < start || address > start + current.length) return EXCEPTION_CONTINUE_SEARCH;
  current.record = *record;
  current.seen = true;
#if defined(__x86_64__)
  pointers->ContextRecord->Rip = start + current.length;
#else
  pointers->ContextRecord->Eip = start + current.length;
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

template <typename Probe, typename... Args>
void Report(const char* name, const unsigned char* instruction, size_t length, const void* target, Probe probe,
            Args... args) {
  current = Fault{instruction, length, target, {}, false};
  probe(args...);
  if (!current.seen) {
    std::printf("%s: no fault\n", name);
    return;
  }
  const EXCEPTION_RECORD& record = current.record;
  std::printf("%s: code %08lx at +%d", name, static_cast<unsigned long>(record.ExceptionCode),
              static_cast<int>(reinterpret_cast<const unsigned char*>(record.ExceptionAddress) - instruction));
  // Other exceptions' parameters differ by architecture on Windows itself.
  const DWORD parameters = record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION ? record.NumberParameters : 0;
  if (parameters) std::printf(" params");
  for (DWORD i = 0; i < parameters; ++i) {
    const ULONG_PTR parameter = record.ExceptionInformation[i];
    if (target && parameter == reinterpret_cast<ULONG_PTR>(target)) {
      std::printf(" target");
    } else {
      std::printf(" %llx", static_cast<unsigned long long>(parameter));
    }
  }
  std::printf("\n");
}

}  // namespace

int main() {
  if (!AddVectoredExceptionHandler(1, RecordFault)) return 1;
  void* const unmapped = reinterpret_cast<void*>(0x10);
  void* const read_only = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY);
  if (!read_only) return 1;

  Report("read", kReadFault, 2, unmapped, ProbeRead, unmapped);
  Report("write", kWriteFault, 2, read_only, ProbeWrite, read_only);
  Report("breakpoint", kBreakpointFault, 1, nullptr, ProbeBreakpoint);
  Report("divide", kDivideFault, 2, nullptr, ProbeDivide);
  Report("invalid opcode", kInvalidOpcodeFault, 2, nullptr, ProbeInvalidOpcode);
  Report("privileged", kPrivilegedFault, 1, nullptr, ProbePrivileged);
  Report("debug service", kDebugServiceFault, 3, nullptr, ProbeDebugService);

  int readable = 0;
  std::printf("IsBadReadPtr unmapped %d\n", IsBadReadPtr(unmapped, 1));
  std::printf("IsBadReadPtr readable %d\n", IsBadReadPtr(&readable, sizeof readable));
  std::printf("IsBadWritePtr read-only %d\n", IsBadWritePtr(read_only, 1));
  std::printf("IsBadWritePtr writable %d\n", IsBadWritePtr(&readable, sizeof readable));
  return 0;
}
