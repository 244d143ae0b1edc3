// The service manager's side of the product's service: registering,
// starting and removing it.
#pragma once

inline constexpr wchar_t kServiceName[] = L"LumetricaServer";

bool InstallServiceTask();
bool StartServiceTask();
bool UninstallServiceTask();
