-- Settings of this build of the installer, read by the program and by the
-- install script.
global_app_id = 145
global_install_mutex_guid = ""
global_install_path = "%ProgramFiles%\\Lumetrica"
global_need_disk_space = 200
global_enable_ss_install = false
global_ss_install = false
