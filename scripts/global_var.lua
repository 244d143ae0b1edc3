-- Settings of this build of the installer: everything that names the
-- product, its publisher, its registry keys and the statistics endpoints.
-- The program runs this chunk first; the install script copies it as
-- Uninst.dar0 for the product's uninstaller. It only assigns globals.
global_install_basepath = "Orrinthwake"
global_localdatapath = "Lumetrica"
global_http_Agent = "ORNTEK2024"
global_union_id = 27028
global_union_id_x64 = 27028
global_app_id = 145
global_version = "2.0.0.14"
global_product_name = "Lumetrica"
global_shortcut_name = "Lumetrica"
global_product_name_inner = "Lumetrica"
global_company_name = "Orrinthwake"
global_legalcopyright = "Copyright (C) 2024 Orrinthwake. All rights reserved."
global_main_app_name = "Lumetrica.exe"
global_main_app_name_inner = "Lumetrica.exe"
global_main_app_name_inner_64 = "Lumetrica64.exe"
global_old_product_name = "Lumetrica"
global_licence_url = "https://lumetrica.example.com/article/license.html"
global_need_disk_space = 182958560
global_main_wnd_cls = "Lumetrica"
global_uninst_sub_key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumetrica"
global_reg_sub_key = "SOFTWARE\\Lumetrica"
global_startup_check_visable = true
global_disable_cover = false
global_cover_unionId = false
global_show_completewindow = true
global_uninstall_useui = true
global_uninstall_no_start_prompt = true
global_create_log_folder = false
-- The maker's web service that answers the number query ("host" or
-- "host:port", asked over https) and the statistics service's dispatch host.
global_query_host = "service.lumetrica.example"
global_stat_dispatch_host = "dispatch.stat.example.net"
global_udp_un_install_port = 8100
global_udp_install_uninstall_url = "stat.example.net"
global_install_PostURL = "http://stat.example.net/api/InstallStat"
global_Uninstall_PostURL = "http://stat.example.net/api/UnInstallStat"
global_Uninstall_Suggesstion_url = "http://lumetrica.example.com/feed?ruleShow=true"
global_AwardLnk_url = "https://lumetrica.example.com/feedback.html?ruleShow=true"
global_Uninstall_ReasonURL = "http://feedback.example.org/feedback/api/v1/feedback/add"
global_kf_QQ = 800012345
global_kf_QQQ = "https://chat.example.org/invite/lumetrica-users"
global_startuseexplorer_level = true
global_disable_analyze_params_from_file_name = true
global_enable_ss_install = false
