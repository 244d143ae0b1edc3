
-- Test builds only, appended to the shipped settings: the statistics
-- endpoints are the local collector named by the environment, and a test
-- may add settings of its own as Lua source in NEB_TEST_SETTINGS.
local collectorHost = os.getenv("NEB_COLLECTOR_HOST") or "127.0.0.1"
local collectorHttp = "http://" .. collectorHost .. ":" .. (os.getenv("NEB_COLLECTOR_HTTP_PORT") or "8101")
global_udp_un_install_port = tonumber(os.getenv("NEB_COLLECTOR_UDP_PORT") or "8100")
global_udp_install_uninstall_url = collectorHost
global_install_PostURL = collectorHttp .. "/api/InstallStat"
global_Uninstall_PostURL = collectorHttp .. "/api/UnInstallStat"
global_Uninstall_ReasonURL = collectorHttp .. "/feedback/api/v1/feedback/add"
local testSettings = os.getenv("NEB_TEST_SETTINGS")
if testSettings then
  assert(load(testSettings, "NEB_TEST_SETTINGS"))()
end
