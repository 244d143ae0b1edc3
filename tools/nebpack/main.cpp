// nebpack: builds an installer for a product without a compiler. It checks
// the product folder, the three scripts and the skin, reports every problem
// with its place and, only when there is none, writes a copy of the base
// installer program with the product's resources in place of its own.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "base/text.h"
#include "scripts/global_names.h"
#include "tools/nebpack/dialog_skin.h"
#include "tools/nebpack/file_bytes.h"
#include "tools/nebpack/installer_resources.h"
#include "tools/nebpack/payload_archive.h"
#include "tools/nebpack/program_folder.h"
#include "tools/nebpack/script_checks.h"
#include "tools/nebpack/service_hosts.h"
#include "tools/nebpack/skin_package.h"

namespace {

using namespace nebpack;
namespace fs = std::filesystem;

constexpr int kProblemsFound = 1;
constexpr int kUsageError = 2;
constexpr int kWriteFailed = 3;
// What the install script assumes when the settings leave the space unset.
constexpr uint64_t kDefaultNeededDiskSpace = 20048128;

constexpr char kUsage[] =
    "usage: nebpack --product DIR --settings global_var.lua --install instscript.lua\n"
    "               --uninstall uninstscript.lua --skin DIR [--icon FILE]\n"
    "               [--version-from FILE] [--base INSTALLER] -o Setup.exe\n";

struct Options {
  std::map<std::wstring, std::wstring> values;
  const std::wstring& operator[](const wchar_t* name) { return values[name]; }
};

void Print(FILE* stream, const std::wstring& text) { std::fputs(WideToUtf8(text + L"\n").c_str(), stream); }

bool ReadOptions(const std::vector<std::wstring>& argv, Options& options) {
  const size_t argc = argv.size();
  static const wchar_t* const kNames[] = {L"--product", L"--settings", L"--install", L"--uninstall", L"--skin",
                                          L"--icon", L"--version-from", L"--base", L"-o"};
  for (size_t i = 1; i < argc; ++i) {
    bool known = false;
    for (const wchar_t* name : kNames) known = known || argv[i] == name;
    if (!known || i + 1 >= argc) return false;
    options.values[argv[i]] = argv[i + 1];
    ++i;
  }
  for (const wchar_t* required : {L"--product", L"--settings", L"--install", L"--uninstall", L"--skin", L"-o"}) {
    if (options[required].empty()) return false;
  }
  return true;
}

// The installer program shipped beside nebpack.
std::wstring DefaultBase() { return (ProgramFolder() / L"NEBInstaller.exe").wstring(); }

bool IsFolder(const std::wstring& path) {
  std::error_code failed;
  return fs::is_directory(fs::path(path), failed);
}

// The web services' hosts, when the settings name them; the installer
// falls back to the maker's own when they do not.
void CheckServiceHosts(const std::wstring& settingsFile, const ChunkFunction& settings, const SettingsState& values,
                       Problems& problems) {
  const struct {
    const char* global;
    bool portAllowed;
  } hosts[] = {{script_names::kQueryHost, true}, {script_names::kStatDispatchHost, false}};
  for (const auto& host : hosts) {
    const std::wstring text = SettingText(values, host.global);
    if (text.empty()) continue;
    const std::wstring problem = HostProblem(text, host.portAllowed);
    if (problem.empty()) continue;
    problems.push_back({settingsFile, AssignmentLine(settings, host.global), 0,
                        Utf8ToWide(host.global) + L" \"" + text + L"\" " + problem});
  }
}

// The settings name the main program and the space the install needs; both
// are checked against the product folder.
void CheckProductAgainstSettings(const std::wstring& settingsFile, const ChunkFunction& settings,
                                 const std::wstring& productFolder, Problems& problems) {
  const SettingsState values = RunSettings(settingsFile, problems);
  if (!values) return;
  const std::wstring mainProgram = SettingText(values, script_names::kMainAppName);
  const std::wstring mainPath = (fs::path(productFolder) / mainProgram).wstring();
  LanguageResource record;
  if (mainProgram.empty()) {
    problems.push_back({settingsFile, 0, 0, L"global_main_app_name is not set"});
  } else if (std::error_code failed; !fs::exists(fs::path(mainPath), failed)) {
    problems.push_back({settingsFile, AssignmentLine(settings, script_names::kMainAppName), 0,
                        L"the main program " + mainProgram + L" is not in the product folder " + productFolder});
  } else if (!ReadVersionRecord(mainPath, record)) {
    problems.push_back({mainPath, 0, 0, L"the main program has no version record"});
  }

  const std::wstring spaceText = SettingText(values, script_names::kNeedDiskSpace);
  const uint64_t needed = spaceText.empty() ? kDefaultNeededDiskSpace : std::wcstoull(spaceText.c_str(), nullptr, 10);
  const uint64_t unpacked = UnpackedSize(productFolder);
  if (needed < unpacked) {
    problems.push_back({settingsFile, AssignmentLine(settings, script_names::kNeedDiskSpace), 0,
                        L"global_need_disk_space is " + std::to_wstring(needed) +
                            L" bytes, less than the product folder's unpacked size of " + std::to_wstring(unpacked) +
                            L" bytes"});
  }
  CheckServiceHosts(settingsFile, settings, values, problems);
}

struct Scripts {
  ChunkFunction settings, install, uninstall;
};

Problems CheckInputs(Options& options, Scripts& scripts, InstallerResources& resources) {
  Problems problems;
  const std::wstring product = options[L"--product"];
  if (!IsFolder(product)) {
    problems.push_back({product, 0, 0, L"the product folder does not exist"});
  } else {
    CheckEntryNames(product, problems);
  }
  const std::wstring settingsFile = options[L"--settings"];
  if (CompileScript(settingsFile, scripts.settings, problems)) {
    const size_t before = problems.size();
    CheckAssignsOnly(settingsFile, scripts.settings, problems);
    // Only settings that do nothing but assign are run to read their values.
    if (problems.size() == before) {
      CheckProductAgainstSettings(settingsFile, scripts.settings, product, problems);
    }
  }
  if (CompileScript(options[L"--install"], scripts.install, problems)) {
    CheckEvents(options[L"--install"], scripts.install, kInstallEvents, problems);
  }
  if (CompileScript(options[L"--uninstall"], scripts.uninstall, problems)) {
    CheckEvents(options[L"--uninstall"], scripts.uninstall, kUninstallEvents, problems);
  }
  CheckDialogSkin(options[L"--skin"], problems);

  if (!options[L"--icon"].empty() &&
      (!ReadWholeFile(fs::path(options[L"--icon"]), resources.iconFile) || !IconFileIsSound(resources.iconFile))) {
    problems.push_back({options[L"--icon"], 0, 0, L"not a readable icon file"});
  }
  if (!options[L"--version-from"].empty() && !ReadVersionRecord(options[L"--version-from"], resources.version)) {
    problems.push_back({options[L"--version-from"], 0, 0, L"the program has no version record"});
  }
  return problems;
}

int Run(const std::vector<std::wstring>& argv) {
  Options options;
  if (!ReadOptions(argv, options)) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  const std::wstring base = options[L"--base"].empty() ? DefaultBase() : options[L"--base"];
  std::wstring error;
  const int sizeTWidth = ProgramChunkSizeT(base, error);

  Scripts scripts;
  InstallerResources resources;
  Problems problems = CheckInputs(options, scripts, resources);
  if (sizeTWidth == 0) problems.insert(problems.begin(), {base, 0, 0, error});
  for (const Problem& problem : problems) Print(stderr, ProblemText(problem));
  const size_t stopping =
      std::count_if(problems.begin(), problems.end(), [](const Problem& problem) { return !problem.warning; });
  if (stopping > 0) {
    Print(stderr, L"nebpack: " + std::to_wstring(stopping) + L" problem(s); no installer written");
    return kProblemsFound;
  }

  resources.settingsChunk = WriteStrippedChunk(scripts.settings, sizeTWidth);
  resources.installChunk = WriteStrippedChunk(scripts.install, sizeTWidth);
  resources.uninstallChunk = WriteStrippedChunk(scripts.uninstall, sizeTWidth);
  bool packed = PackSkin(options[L"--skin"], resources.skinPackage, error) &&
                PackFolder(options[L"--product"], resources.payload, error);
  if (packed) ExchangeFirstTwoBytes(resources.payload);
  if (!packed || !WriteInstaller(base, options[L"-o"], resources, error)) {
    Print(stderr, L"nebpack: " + error);
    return kWriteFailed;
  }
  Print(stdout, L"nebpack: wrote " + options[L"-o"]);
  return 0;
}

}  // namespace

// Windows hands the arguments over as UTF-16; Linux as bytes, taken as UTF-8.
#ifdef _WIN32
int wmain(int argc, wchar_t** argv) { return Run(std::vector<std::wstring>(argv, argv + argc)); }
#else
int main(int argc, char** argv) {
  std::vector<std::wstring> arguments;
  for (int i = 0; i < argc; ++i) arguments.push_back(Utf8ToWide(argv[i]));
  return Run(arguments);
}
#endif
