#include "hostapi/archive_functions.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "base/debug_line.h"
#include "base/env_path.h"
#include "base/handles.h"
#include "base/module_resource.h"
#include "extract/archive_streams.h"
#include "extract/extract_7z.h"
#include "extract/memory_in_stream.h"
#include "files/install_record.h"
#include "files/link_free_path.h"
#include "hostapi/host_args.h"

namespace {

constexpr wchar_t kArchiveType[] = L"_7Z";
constexpr wchar_t kUnCompressName[] = L"Lua_UnCompress7z";
constexpr wchar_t kExtractResourceName[] = L"Lua_ExtractResource";

// A resource named by a number (or a numeric string) or by text.
class ResourceName {
 public:
  ResourceName(lua_State* L, int index)
      : byNumber_(lua_isnumber(L, index) != 0), number_(static_cast<WORD>(ArgNumber(L, index))),
        text_(ArgText(L, index)) {}
  const wchar_t* Id() const { return byNumber_ ? MAKEINTRESOURCEW(number_) : text_.c_str(); }
  const std::wstring& Text() const { return text_; }
  bool ByNumber() const { return byNumber_; }

 private:
  bool byNumber_;
  WORD number_;
  std::wstring text_;
};

// The archive resource is stored with its first two bytes exchanged, so the
// file in the program does not read as an archive. The exchange is made on
// a private copy: the program's image stays as it was, and a second use of
// the resource in the same run sees the stored order again.
void SwapSignatureBytes(unsigned char* data, size_t size) {
  if (size >= 2) std::swap(data[0], data[1]);
}

std::unique_ptr<unsigned char[]> PrivateCopy(const ResourceView& resource) {
  std::unique_ptr<unsigned char[]> copy(new (std::nothrow) unsigned char[resource.size]);
  if (copy) std::copy_n(resource.data, resource.size, copy.get());
  return copy;
}

int ExtractFromFile(const std::wstring& archive, const std::wstring& folder, const ExtractReports& reports) {
  DebugLine(L"UnCompress %ls to %ls .\r\n", archive.c_str(), folder.c_str());
  UniqueHandle file(CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return kExtractWriteFailed;
  FileInStream stream(file.Get());
  return Extract7z(&stream.vt, folder, reports);
}

std::optional<int> ExtractFromResource(const ResourceName& name, const std::wstring& folder,
                                       const ExtractReports& reports) {
  ResourceView resource;
  if (FindModuleResource(kArchiveType, name.Id(), resource) == ResourceStatus::kNotLoadable) {
    return std::nullopt;
  }
  if (!name.ByNumber()) DebugLine(L"UnCompress %ls to %ls .\r\n", name.Text().c_str(), folder.c_str());
  // Without memory for the copy the stream is empty and the decoder fails.
  std::unique_ptr<unsigned char[]> copy = PrivateCopy(resource);
  const size_t size = copy ? resource.size : 0;
  SwapSignatureBytes(copy.get(), size);
  MemoryInStream stream(copy.get(), size);
  return Extract7z(&stream.vt, folder, reports);
}

// The single result, pushed over exactly the arguments the script passed.
int ReturnOverArguments(lua_State* L, int argumentCount, bool result) {
  lua_settop(L, argumentCount);
  lua_pushboolean(L, result);
  return 1;
}

int FinishUnCompress(lua_State* L, int argumentCount, bool succeeded) {
  if (succeeded) {
    DebugLine(L"UnCompress successful.\r\n");
  } else {
    DebugLine(L"Fun:%ls, Description: UnCompress failed.!\r\n", kUnCompressName);
  }
  return ReturnOverArguments(L, argumentCount, succeeded);
}

}  // namespace

int Lua_UnCompress7z(lua_State* L) {
  const int count = lua_gettop(L);
  if (count < 2 || count > 5) return FinishUnCompress(L, count, true);

  // Callbacks come from the top: with five arguments the last one is the
  // error callback, and only when it was one is the fourth examined.
  int top = count;
  std::optional<ScriptCallback> onError;
  std::optional<ScriptCallback> progress;
  if (count == 5 && lua_type(L, top) == LUA_TFUNCTION) onError.emplace(L, top--);
  if (count >= 4 && lua_type(L, top) == LUA_TFUNCTION) progress.emplace(L, top);
  ExtractReports reports;
  if (progress) reports.progress = [&progress](const std::wstring& path) { progress->Call(path); };
  if (onError) {
    reports.onError = [&onError](const std::wstring& path, uint32_t code) { return onError->Call(path, code); };
  }

  const bool fromFile = lua_type(L, 3) == LUA_TBOOLEAN && lua_toboolean(L, 3);
  const std::wstring folder = ExpandEnvPath(ArgText(L, 2));
  if (!PathExists(folder)) {
    ReportMissingPath(kUnCompressName, folder);
    return ReturnOverArguments(L, count, false);
  }

  int result = kExtractOk;
  if (fromFile) {
    const std::wstring archive = ExpandEnvPath(ArgText(L, 1));
    if (!PathExists(archive)) {
      ReportMissingPath(kUnCompressName, archive);
      return ReturnOverArguments(L, count, false);
    }
    result = ExtractFromFile(archive, folder, reports);
  } else {
    const std::optional<int> extracted = ExtractFromResource(ResourceName(L, 1), folder, reports);
    if (!extracted) {
      DebugLine(L"Fun:%ls ,LoadResource failed!\r\n", kUnCompressName);
      return ReturnOverArguments(L, count, false);
    }
    result = *extracted;
  }
  return FinishUnCompress(L, count, result == kExtractOk);
}

int Lua_ExtractResource(lua_State* L) {
  const std::wstring type = ArgText(L, 1);
  const ResourceName name(L, 2);
  const std::wstring target = ExpandEnvPath(ArgText(L, 3));

  ResourceView resource;
  if (FindModuleResource(type.c_str(), name.Id(), resource) == ResourceStatus::kNotLoadable) {
    DebugLine(L"Fun:%ls ,LoadResource failed!\r\n", kExtractResourceName);
    lua_pushboolean(L, false);
    return 1;
  }
  // A link at the target or on its way would send the bytes elsewhere.
  const LinkFreePath held(target);
  if (held.RefusedFor(kExtractResourceName)) {
    lua_pushboolean(L, false);
    return 1;
  }
  UniqueHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) {
    DebugLine(L"Fun:%ls ,CreateFileW %ls failed!\r\n", kExtractResourceName, target.c_str());
    lua_pushboolean(L, false);
    return 1;
  }

  const unsigned char* bytes = resource.data;
  std::unique_ptr<unsigned char[]> copy;
  if (type == kArchiveType) {
    copy = PrivateCopy(resource);
    if (copy) SwapSignatureBytes(copy.get(), resource.size);
    bytes = copy.get();
  }
  DWORD written = 0;
  const bool wrote = bytes && resource.size <= MAXDWORD &&
                     WriteFile(file.Get(), bytes, static_cast<DWORD>(resource.size), &written, nullptr) &&
                     written == resource.size;
  if (!wrote) DebugLine(L"Fun:%ls ,WriteFile %ls failed!\r\n", kExtractResourceName, target.c_str());
  RecordWritten(target, false);
  lua_pushboolean(L, wrote);
  return 1;
}
