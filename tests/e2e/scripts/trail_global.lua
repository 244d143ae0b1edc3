-- Settings for the end-to-end builds: the test chooses them through the
-- environment of the installer's process.
global_app_id = tonumber(os.getenv("NEB_TEST_APP_ID") or "145")
global_install_mutex_guid = os.getenv("NEB_TEST_MUTEX") or ""
global_install_path = "C:\\Program Files\\Lumetrica"
if os.getenv("NEB_TEST_NO_INSTALL_PATH") then global_install_path = nil end
global_enable_ss_install = os.getenv("NEB_TEST_SCRIPT_SILENT") ~= nil
global_ss_install = false
global_need_disk_space = os.getenv("NEB_TEST_DISK_SPACE")
BackUpPath = os.getenv("NEB_TEST_BACKUP_PATH")
global_install_basepath = os.getenv("NEB_TEST_BASE_FOLDER")
global_query_host = os.getenv("NEB_TEST_QUERY_HOST")
global_stat_dispatch_host = os.getenv("NEB_TEST_DISPATCH_HOST")
