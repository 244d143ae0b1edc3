// The new installer: a copy of the base installer program whose resources
// are replaced by the product's (scripts, skin package, payload, and the
// icon and version record when given).
#pragma once

#include <string>

namespace nebpack {

// A resource's bytes with the language it is stored under.
struct LanguageResource {
  std::string bytes;
  unsigned short language = 0;
};

struct InstallerResources {
  std::string settingsChunk;
  std::string installChunk;
  std::string uninstallChunk;
  std::string skinPackage;
  std::string payload;         // stored form: first two bytes exchanged
  std::string iconFile;        // an .ico file's bytes; empty keeps the base's icon
  LanguageResource version;    // empty bytes keep the base's version record
};

// The size_t width of the chunks the program loads: 4 for a 32-bit
// program, 8 for an x86-64 one; 0 with a reason when it is neither.
int ProgramChunkSizeT(const std::wstring& program, std::wstring& error);

// The program's version record, or false when it has none.
bool ReadVersionRecord(const std::wstring& program, LanguageResource& record);

// Checks that the icon file's directory and images are whole.
bool IconFileIsSound(const std::string& iconFile);

// Writes `output` from `base`; on failure nothing is left at `output`.
bool WriteInstaller(const std::wstring& base, const std::wstring& output, const InstallerResources& resources,
                    std::wstring& error);

}  // namespace nebpack
