// Maps a drive letter to a Unix folder, or removes the mapping, through
// Wine's mount manager, as Wine's own configuration tool does. A symlink
// dropped into the prefix's dosdevices folder is not enough while Wine runs:
// paths through the letter work, but the drive list, the device names and
// the drive types stay as the mount manager saw them when it started.
// Usage:
//   map_drive D: /unix/folder TYPE   TYPE as GetDriveTypeW numbers it
//                                    (2 removable, 3 fixed, 4 remote,
//                                    5 CD-ROM, 6 RAM disk)
//   map_drive D:                     removes the mapping
// Prints nothing; the exit code is 0 on success.
#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"

namespace {

// Wine's private interface to its mount manager (its ddk/mountmgr.h); the
// older layout in MinGW's copy of that header lacks the middle fields.
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(0x0000006D /* 'm' */, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct UnixDrive {
  ULONG size;
  ULONG type;
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDevice;
  WCHAR letter;
  USHORT mountPointOffset;
  USHORT deviceOffset;
  USHORT labelOffset;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2 && argc != 4) return 2;
  std::string mountPoint;
  if (argc == 4) {
    mountPoint = WideToUtf8(argv[2]);
    if (mountPoint.empty()) return 2;
    mountPoint.push_back('\0');  // the request carries the terminator
  }

  std::vector<char> request(sizeof(UnixDrive) + mountPoint.size());
  UnixDrive drive = {};
  drive.size = static_cast<ULONG>(request.size());
  drive.letter = argv[1][0];
  if (argc == 4) {
    drive.type = static_cast<ULONG>(_wtoi(argv[3]));
    drive.mountPointOffset = sizeof(UnixDrive);
    std::memcpy(request.data() + sizeof(UnixDrive), mountPoint.data(), mountPoint.size());
  } else {
    drive.type = DRIVE_NO_ROOT_DIR;
  }
  std::memcpy(request.data(), &drive, sizeof(drive));

  const HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return 3;
  DWORD returned = 0;
  const bool done = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()),
                                    nullptr, 0, &returned, nullptr);
  CloseHandle(manager);
  return done ? 0 : 4;
}
