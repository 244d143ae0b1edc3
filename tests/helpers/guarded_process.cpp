// A process that refuses to be ended: it gives its own process object a
// list of rights that lets everybody look at it (its image path, whether it
// still runs) but nobody end it, the way a process of another account or a
// protected one stands before the installer. Usage: guarded_process
// Prints "guarded" once its rights are set, then waits for a line (or the
// end) on standard input and exits. Exit code 0; 1 when the rights could not
// be set.
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <cstdio>

namespace {

// Everybody may wait for it and query it (0x101400: SYNCHRONIZE,
// PROCESS_QUERY_INFORMATION, PROCESS_QUERY_LIMITED_INFORMATION); nobody
// may terminate it or change its rights.
constexpr wchar_t kGuardedRights[] = L"D:P(A;;0x101400;;;WD)";

bool Guard() {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kGuardedRights, SDDL_REVISION_1, &descriptor, nullptr)) {
    return false;
  }
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  const bool set = GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) &&
                   SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT,
                                   DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                   nullptr, dacl, nullptr) == ERROR_SUCCESS;
  LocalFree(descriptor);
  return set;
}

}  // namespace

int wmain() {
  if (!Guard()) return 1;
  std::printf("guarded\n");
  std::fflush(stdout);
  char line[16];
  std::fgets(line, sizeof line, stdin);
  return 0;
}
