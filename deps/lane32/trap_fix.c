/* Preloaded (/etc/ld.so.preload) into every program of the 32-bit lane's
 * i386 root, where programs run under qemu-i386.
 *
 * qemu hands a signal handler a context whose trap number is -1, and for a
 * software interrupt `int $n` an error code of n*16+2 where the kernel gives
 * n*8+2. Wine's i386 signal handlers tell the kind of fault by those two
 * numbers: under qemu an access violation became "unexpected trap -1" (an
 * illegal instruction, which IsBadReadPtr and every other page-fault guard
 * lets through), a breakpoint's address was one byte off, and `int $0x2d`
 * went unrecognised. This library stands between each handler of the fault
 * signals and the signal, and fills in what the kernel would have given.
 * On a kernel (or a qemu) that gives a trap number, it changes nothing.
 *
 * The wrapper runs first in a signal handler that Wine expects to be
 * entered with whatever segment registers the interrupted Windows code had:
 * it calls nothing in the C library and touches no thread-local storage
 * (built without the stack protector, which reads it).
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stdint.h>
#include <ucontext.h>

enum {
  TRAP_DIVIDE = 0,
  TRAP_DEBUG = 1,
  TRAP_BREAKPOINT = 3,
  TRAP_INVALID_OPCODE = 6,
  TRAP_GENERAL_PROTECTION = 13,
  TRAP_PAGE_FAULT = 14,
  TRAP_ALIGNMENT = 17,
  TRAP_NOT_GIVEN = -1,
};

enum { OPCODE_INT = 0xCD };

typedef int (*sigaction_function)(int, const struct sigaction *, struct sigaction *);

/* The handler the program asked for, per signal, while the wrapper stands
 * in its place. */
static struct sigaction wanted[NSIG];
static volatile int wrapped[NSIG];

static int is_fault_signal(int signal) {
  return signal == SIGSEGV || signal == SIGBUS || signal == SIGILL || signal == SIGFPE || signal == SIGTRAP;
}

/* The trap number the kernel gives with this signal; TRAP_NOT_GIVEN where
 * the signal does not tell (floating-point errors other than an integer
 * division, which Wine reads from the FPU's own state). */
static int trap_of(int signal, const siginfo_t *info) {
  switch (signal) {
    case SIGSEGV:
      /* A general protection fault comes without an address. */
      return info->si_code == SI_KERNEL ? TRAP_GENERAL_PROTECTION : TRAP_PAGE_FAULT;
    case SIGBUS:
      return info->si_code == BUS_ADRALN ? TRAP_ALIGNMENT : TRAP_PAGE_FAULT;
    case SIGILL:
      return TRAP_INVALID_OPCODE;
    case SIGFPE:
      return info->si_code == FPE_INTDIV ? TRAP_DIVIDE : TRAP_NOT_GIVEN;
    case SIGTRAP:
      /* int3 comes as SI_KERNEL, a single step as TRAP_TRACE or TRAP_BRKPT. */
      return info->si_code == SI_KERNEL ? TRAP_BREAKPOINT : TRAP_DEBUG;
  }
  return TRAP_NOT_GIVEN;
}

static void fill_in_trap(int signal, const siginfo_t *info, greg_t *registers) {
  const int trap = trap_of(signal, info);
  registers[REG_TRAPNO] = trap;
  if (trap == TRAP_GENERAL_PROTECTION) {
    /* A software interrupt refused in user mode faults on its own
     * instruction, whose bytes were just decoded and so can be read. */
    const uint8_t *instruction = (const uint8_t *)registers[REG_EIP];
    if (instruction[0] == OPCODE_INT) registers[REG_ERR] = instruction[1] * 8 + 2;
  }
}

static void dispatch(int signal, siginfo_t *info, void *context) {
  greg_t *registers = ((ucontext_t *)context)->uc_mcontext.gregs;
  if (registers[REG_TRAPNO] == TRAP_NOT_GIVEN) fill_in_trap(signal, info, registers);
  const struct sigaction *handler = &wanted[signal];
  if (handler->sa_flags & SA_SIGINFO) {
    handler->sa_sigaction(signal, info, context);
  } else if (handler->sa_handler != SIG_DFL && handler->sa_handler != SIG_IGN) {
    handler->sa_handler(signal);
  }
}

static int real_sigaction(int signal, const struct sigaction *action, struct sigaction *previous) {
  static sigaction_function next;
  if (!next) next = (sigaction_function)dlsym(RTLD_NEXT, "sigaction");
  return next(signal, action, previous);
}

int sigaction(int signal, const struct sigaction *action, struct sigaction *previous) {
  if (signal <= 0 || signal >= NSIG || !is_fault_signal(signal)) return real_sigaction(signal, action, previous);

  const struct sigaction program_previous = wanted[signal];
  const int was_wrapped = wrapped[signal];
  struct sigaction kernel_previous;
  int result;
  if (action && action->sa_handler != SIG_DFL && action->sa_handler != SIG_IGN) {
    struct sigaction stand_in = *action;
    stand_in.sa_flags |= SA_SIGINFO;
    stand_in.sa_sigaction = dispatch;
    wanted[signal] = *action;
    wrapped[signal] = 1;
    result = real_sigaction(signal, &stand_in, &kernel_previous);
    if (result != 0) {
      wanted[signal] = program_previous;
      wrapped[signal] = was_wrapped;
    }
  } else {
    result = real_sigaction(signal, action, &kernel_previous);
    if (result == 0 && action) wrapped[signal] = 0;
  }
  if (result == 0 && previous) *previous = was_wrapped ? program_previous : kernel_previous;
  return result;
}
