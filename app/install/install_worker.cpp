#include "app/install/install_worker.h"

#include <curl/curl.h>

#include <cwchar>
#include <random>
#include <string>

#include "app/install/install_mgr.h"
#include "app/install/window_messages.h"
#include "base/handles.h"
#include "http/http_client.h"
#include "log/qm_base_log.h"
#include "script/nebscript_engine.h"
#include "script/script_globals.h"
#include "scripts/global_names.h"

namespace {

constexpr wchar_t kProductWindowClass[] = L"Lumetrica";
constexpr DWORD kProductReactionMs = 2000;
constexpr long kFallbackNumber = 1342395;
constexpr wchar_t kNumberQueryPath[] = L"/api/qmdesktop.php";
constexpr wchar_t kDefaultQueryHost[] = L"service.lumetrica.example";

// The maker's web service; a build's settings may name another host
// (global_query_host, "host" or "host:port").
std::wstring NumberQueryUrl() {
  std::wstring host = GetGlobalText(NEBScriptEngine::Instance().Lock().State(), script_names::kQueryHost);
  if (host.empty()) host = kDefaultQueryHost;
  return L"https://" + host + kNumberQueryPath;
}

long QueryNumber() {
  CHttpClient client;
  std::wstring response;
  const int code = client.HttpGet(NumberQueryUrl(), nullptr, response);
  if (code != 0) {
    QMLOG_ERROR("querynumber {}-{}", code, curl_easy_strerror(static_cast<CURLcode>(code)));
    return kFallbackNumber;
  }
  const long number = std::wcstol(response.c_str(), nullptr, 10);
  return number != 0 ? number : kFallbackNumber;
}

DWORD WINAPI InstallWorker(LPVOID parameter) {
  const std::unique_ptr<std::shared_ptr<InstallWorkerState>> owned(
      static_cast<std::shared_ptr<InstallWorkerState>*>(parameter));
  InstallWorkerState& state = **owned;
  if (const HWND product = FindWindowW(kProductWindowClass, nullptr)) {
    PostMessageW(product, UM_PRODUCT_NOTIFY, 0, 0);
  }
  Sleep(kProductReactionMs);

  CInstallMgr& manager = CInstallMgr::Instance();
  manager.InstallExecute();
  manager.BeforeComplete();
  state.scriptDone = true;

  const long number = QueryNumber();
  PostMessageW(state.dialog, UM_QUERY_RESULT, static_cast<WPARAM>(number), state.token);
  return 0;
}

}  // namespace

std::shared_ptr<InstallWorkerState> NewInstallWorkerState(HWND dialog) {
  auto state = std::make_shared<InstallWorkerState>();
  state->dialog = dialog;
  // The system's random source (MinGW's random_device asks it); never 0,
  // the value a forged message would most likely carry.
  std::random_device random;
  const uint64_t token = (static_cast<uint64_t>(random()) << 32) | random();
  state->token = static_cast<LPARAM>(token) != 0 ? static_cast<LPARAM>(token) : 1;
  return state;
}

bool StartInstallWorker(const std::shared_ptr<InstallWorkerState>& state) {
  auto share = std::make_unique<std::shared_ptr<InstallWorkerState>>(state);
  const UniqueHandle worker(CreateThread(nullptr, 0, InstallWorker, share.get(), 0, nullptr));
  if (!worker) return false;
  share.release();  // the thread's now
  return true;
}
