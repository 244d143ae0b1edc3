-- The install script. The program fires its five events in order:
-- NEBSE_BeforeInit checks the system, finds an earlier installation and
-- fills in defaults; NEBSE_BeforeInstall asks to close a running product and
-- makes the target folder; NEBSE_OnInstall stops the product, extracts the
-- payload and writes the registry, the uninstaller's files, the shortcuts,
-- the autostart value and the service; NEBSE_BeforeComplete reports the
-- install; NEBSE_AfterComplete has nothing left to do.

local scriptVersion = "1.0.2.57"
local msgCaption = string.format("%s - 安装", global_product_name)
local oemUnionId = 4001
local workDir = Lua_ExpandEnv("%TMP%")
local currentUnionId = 0
local coverUnionId = 4999
local serviceExe = "LumetricaServer.exe"
local semShortId = ""

global_ss_install = false
global_ss_run = false

-- WOW64 file-system redirection, switched off around work on system folders
-- when a 32-bit installer runs on 64-bit Windows.
fsredir = {}
fsredir.IsNeed = Lua_GetOSVersion() > 5 and Lua_IsWow64()
fsredir.Wow64DisableWow64FsRedirection = GLibTab.kernel32:Get("Wow64DisableWow64FsRedirection", "int")
fsredir.Wow64RevertWow64FsRedirection = GLibTab.kernel32:Get("Wow64RevertWow64FsRedirection", "int")
if fsredir.IsNeed then
  fsredir.pOld = RawBuffer.New(4)
end

function fsredir:Disable()
  if self.IsNeed then
    self.Wow64DisableWow64FsRedirection(self.pOld)
  end
end

function fsredir:Revert()
  if self.IsNeed then
    self.Wow64RevertWow64FsRedirection(self.pOld:OffsetGetAsUInt32(0))
  end
end

-------------------------------------------------------------------------------
-- Utilities

function Sleep(milliseconds)
  GLibTab.Kernel32:Get("Sleep")(milliseconds)
end

-- Milliseconds since the system started, modulo 2^32: differences of two
-- readings are taken modulo 2^32 as well (ElapsedSince).
local function Milliseconds()
  return GLibTab.Kernel32:Get("GetTickCount", "uint")()
end

local function ElapsedSince(start)
  return (Milliseconds() - start) % 4294967296
end

function FindWnd(className, windowTitle)
  local FindWindowW = GLibTab.User32:Get("FindWindowW", "int")
  local classText = className and WString.New(nil, className)
  local titleText = windowTitle and WString.New(nil, windowTitle)
  return FindWindowW(classText, titleText)
end

-- The folder part of a path such as C:\Apps\Lumetrica; for anything else
-- (a drive root, a bare name) the first three characters.
function paht_remove_filename(path)
  return string.match(path, "^(%a:\\.+)\\[^\\]+$") or string.sub(path, 1, 3)
end

function notify_association_changed()
  GLibTab.shell32:Get("SHChangeNotify", "void")(134217728, 3, 0, 0)
end

-- Called by the extractor for a file it cannot create, normally an old file
-- still in use: move that file aside, delete it at the next restart and let
-- the extractor try again. A junction or symbolic link in the install folder
-- comes without a path: nothing is moved, the extraction stops.
function UnCompressCallBack(path, code)
  Lua_Logout(path .. string.format("  创建文件出错:%d", code))
  if path == "" then
    return 2
  end
  local asideName = Lua_PathYetAnotherMakeUniqueName(Lua_GetTempFileName(workDir, "Tqmov"))
  Lua_Logout(asideName)
  if Lua_MoveFile(path, asideName) then
    Lua_DeleteFileAfterReboot(asideName)
    return 0
  end
  return 2
end

function CheckClient()
  if global_ss_install then
    return
  end
  if FindWnd(global_main_wnd_cls, nil) == 0 then
    return
  end
  local text = string.format("检测到 %s 正在运行", global_product_name) .. "\r\n" .. "选择[确定]强制关闭，[取消]取消安装"
  if Lua_MsgBox(text, msgCaption, bit32.bor(1, 48, 65536)) == 1 then
    return
  end
  os.exit(0)
end

-- Ends the processes of that name that run from a drive-letter path,
-- logging each id with the format ("pid:%d" of -1 once none is left), in at
-- most killRounds rounds. A process that cannot be ended is logged
-- ("process N (name) could not be ended") and left, and the others are
-- still ended: the install goes on as for a file in use.
local killRounds = 5

local function KillAllByName(exeName, logFormat)
  local left = {}  -- ids not tried again: not running from a drive, or staying
  for _ = 1, killRounds do
    local found = {Lua_GetProcessId(exeName)}
    if found[1] == -1 then
      Lua_Logout(string.format(logFormat, -1))
      return
    end
    local tried = 0
    for _, pid in ipairs(found) do
      if not left[pid] then
        tried = tried + 1
        Lua_Logout(string.format(logFormat, pid))
        local image = Lua_GetImagePathByPid(pid)
        if image == nil or #image < 2 or string.sub(image, 2, 2) ~= ":" then
          left[pid] = true
        elseif not Lua_TaskKill(pid, nil) then
          Lua_Logout(string.format("process %d (%s) could not be ended", pid, exeName))
          left[pid] = true
        end
      end
    end
    if tried == 0 then
      return
    end
  end
  for _, pid in ipairs({Lua_GetProcessId(exeName)}) do
    if pid ~= -1 and not left[pid] then
      Lua_Logout(string.format("process %d (%s) could not be ended", pid, exeName))
    end
  end
end

local function AnyRunning(exeNames)
  for _, exeName in ipairs(exeNames) do
    if Lua_GetProcessId(exeName) ~= -1 then
      return true
    end
  end
  return false
end

-- Waits until no process of those names is left, polling, for at most
-- limit milliseconds; logs how long it took or that some are still there.
local endedWaitPoll = 50

local function WaitForExit(exeNames, limit)
  local start = Milliseconds()
  while AnyRunning(exeNames) do
    local waited = ElapsedSince(start)
    if waited >= limit then
      Lua_Logout(string.format("ended processes still running after %d ms", waited))
      return
    end
    Sleep(math.min(endedWaitPoll, limit - waited))
  end
  Lua_Logout(string.format("ended processes gone after %d ms", ElapsedSince(start)))
end

function StopService()
  if serviceExe == "" then
    return
  end
  KillAllByName(serviceExe, "pid:%d")
  Lua_Exec(string.format("%s\\%s", global_install_path, serviceExe), nil, "--UnInstallTask", true)
end

function InstallService()
  Lua_Logout("InstallService")
  Lua_Logout(string.format("service_file_name:%s", serviceExe))
  if serviceExe ~= "" then
    local path = string.format("%s\\%s", global_install_path, serviceExe)
    Lua_Exec(path, nil, "--InstallTask", true)
    Lua_Exec(path, nil, "--StartTask", true)
  end
end

-------------------------------------------------------------------------------
-- Options from the installer's file name and command line, the channel

-- The last path component that has an extension, without the extension.
local function FileBaseName(path)
  local name = string.match(path, "([^\\]*%.%w+)$")
  return string.match(name, "^(.*)%.%w+$") or name
end

local function FileNameOf(path)
  return string.match(path, "^.*\\(.*)$") or path
end

function Split(text, sep)
  Lua_Logout("FullString:" .. text)
  local pieces = {}
  local start = 1
  while true do
    local first, last = string.find(text, sep, start)
    if first == nil then
      break
    end
    pieces[#pieces + 1] = string.sub(text, start, first - 1)
    start = last + 1
  end
  pieces[#pieces + 1] = string.sub(text, start)
  return pieces, #pieces
end

-- A file name of the form product_channel_campaign.
function AnalyzeParam()
  local name = FileBaseName(Lua_GetModuleFileName())
  Lua_Logout("AnalyzeParam ---- 安装包名称：" .. name)
  local pieces, count = Split(name, "_")
  if count ~= 3 then
    return
  end
  if string.lower(pieces[1]) ~= string.lower(global_product_name_inner) then
    return
  end
  local channel = tonumber(pieces[2])
  if channel == nil or channel < 100 or channel > 9999 then
    return
  end
  global_union_id = channel
  Lua_Logout("union_id:-----------2" .. channel)
  if global_enable_sem == true and string.sub(pieces[3], 1, 1) == "t" then
    semShortId = string.sub(pieces[3], 2)
  end
  Lua_Logout("short_semid:-----------" .. semShortId)
end

function InitCommandLineArgv_new()
  for _, argument in ipairs(Lua_GetCommandLineArgv() or {}) do
    if argument == "/s" or argument == "-s" then
      if global_enable_ss_install then
        global_ss_install = true
        global_show_completewindow = false
      end
    end
    local head = string.sub(argument, 1, 5)
    if head == "-uid=" or head == "-uid:" or head == "/uid:" then
      global_union_id = tonumber(string.sub(argument, 6))
    end
    head = string.sub(argument, 1, 6)
    if head == "-path=" or head == "-path:" or head == "/path:" then
      global_install_path = string.sub(argument, 7)
    end
  end
end

function GetCurrentUnionID()
  local value = Lua_RegQuery("HKCU", global_reg_sub_key, "UnionId")
  Lua_Logout("union_id=" .. tostring(value))
  if value == nil then
    value = Lua_RegQuery("HKLM", global_reg_sub_key, "UnionId")
    Lua_Logout("union_id=" .. tostring(value))
  end
  if value == nil then
    return 0
  end
  return tonumber(value)
end

function CheckUnionID()
  return GetCurrentUnionID() ~= global_union_id
end

function GetUnionByPkgName()
  return string.match(FileNameOf(Lua_GetModuleFileName()), "^.*_.*%-(%d+).*%..*$")
end

function analy_filename_with_ss_param()
  local name = FileBaseName(Lua_GetModuleFileName())
  Lua_Logout("analy_filename_with_ss_param:stAppName " .. name)
  name = string.lower(name)
  if string.find(name, "@st", 1, true) then
    global_ss_install = true
    global_ss_run = true
  end
  if string.find(name, "@stt", 1, true) then
    global_ss_install = true
    global_ss_run = false
  end
end

-- Each pair: the "o" code switches the option on, the "c" code, tested
-- after it, off.
local shortcutCodes = {
  {"@dto", "DesktopShortcutChk", true}, {"@dtc", "DesktopShortcutChk", false},
  {"@smo", "StartMenuShortcutChk", true}, {"@smc", "StartMenuShortcutChk", false},
  {"@qlo", "QuickLaunchChk", true}, {"@qlc", "QuickLaunchChk", false},
  {"@swo", "ShouldStartWithWindowsChk", true}, {"@swc", "ShouldStartWithWindowsChk", false},
  {"@sso", "InstallServer", true}, {"@ssc", "InstallServer", false},
}

function analy_filename_with_shortcut_param()
  local name = string.lower(FileBaseName(Lua_GetModuleFileName()))
  for _, code in ipairs(shortcutCodes) do
    if string.find(name, code[1], 1, true) then
      _G[code[2]] = code[3]
    end
  end
end

-------------------------------------------------------------------------------
-- Reports

function SsRunApp()
  if global_enable_ss_install and global_ss_install and global_ss_run then
    Lua_ExplorerExec(string.format("%s\\%s", global_install_path, global_main_app_name), "")
  end
end

local function BindStatExport(lib, name, kind)
  local export, code = lib:Get(name, kind)
  assert(export ~= nil, "GetProcAddress \"" .. name .. "\" failed, errcode : " .. tostring(code))
  return export
end

function InstallReport()
  Lua_Logout("start install report info")
  local path = global_install_path .. "\\rkstat.dll"
  local lib = GLibTab[path]
  assert(lib ~= nil, "LoadLibrary " .. path .. " failed")
  local stat_level = BindStatExport(lib, "stat_level")
  stat_level(2)
  local stat_install_addr = BindStatExport(lib, "stat_install_addr")
  stat_install_addr(global_udp_install_uninstall_url, tonumber(global_udp_un_install_port))
  Lua_Logout(string.format("stat_install_addr %s:%s", global_udp_install_uninstall_url,
                           tostring(global_udp_un_install_port)))
  local stat_install = BindStatExport(lib, "stat_install", "int")
  if currentUnionId ~= 0 then
    stat_install(3)
    Lua_Logout("cover install!!!")
  else
    stat_install(1)
  end
  local stat_http_post = BindStatExport(lib, "stat_http_post", "int")
  Lua_Logout(global_install_PostURL)
  local sent = stat_http_post(global_install_PostURL, nil, 0, true)
  lib:UnLoad()
  GLibTab[path] = nil
  return sent == 1
end

function UpInfomession()
  InstallReport()
end

function semReport()
  Lua_Logout("start sem report info")
  local body = string.format("{\"project\":\"\",\"shortId\":\"%s\",\"newType\":4}", semShortId)
  Lua_Logout("body=" .. body)
  Lua_HttpPost(global_sem_PostURL, body)
  return 1
end

-------------------------------------------------------------------------------
-- Events

function NEBSE_BeforeInit()
  Lua_Logout("script_version:" .. scriptVersion)
  if Lua_GetOSVersion() < 6 then
    Lua_MsgBox(global_product_name .. " 目前只支持WIN7和更新的Windows操作系统！")
    os.exit(0)
  end

  currentUnionId = GetCurrentUnionID()
  if currentUnionId == coverUnionId then
    global_cover_unionId = true
  end
  oemUnionId = GetUnionByPkgName() or oemUnionId

  global_install_path = Lua_RegQuery("HKLM", global_uninst_sub_key, "InstallLocation")
    or Lua_RegQuery("HKLM", global_reg_sub_key, "AppPath")
    or Lua_RegQuery("HKCU", global_reg_sub_key, "AppPath")
  if global_disable_cover == true and CheckUnionID() and global_install_path ~= nil then
    os.exit(0)
  end

  if global_disable_analyze_params_from_file_name == false then
    AnalyzeParam()
  end
  InitCommandLineArgv_new()

  if global_install_path == nil then
    local programFiles = fsredir.IsNeed and "%ProgramFiles(x86)%\\" or "%ProgramFiles%\\"
    global_install_path = Lua_ExpandEnv(programFiles) .. global_install_basepath
  end

  if not global_need_disk_space then
    global_need_disk_space = 20048128
  end
  if global_startup_check_visable == nil then
    global_startup_check_visable = true
  end
  if not global_startup_check then
    global_startup_check = true
  end

  if global_enable_ss_install == true then
    if _G.global_default_ss_install then
      global_ss_install = true
      global_ss_run = true
    else
      analy_filename_with_ss_param()
    end
  end

  if global_custom_reg_list == nil then
    global_custom_reg_list = {}
  end
  if global_show_completewindow == nil then
    global_show_completewindow = true
  end

  if not DesktopShortcutChk then DesktopShortcutChk = true end
  if not StartMenuShortcutChk then StartMenuShortcutChk = true end
  if not QuickLaunchChk then QuickLaunchChk = true end
  if not ShouldStartWithWindowsChk then ShouldStartWithWindowsChk = true end
  if not InstallServer then InstallServer = true end

  if global_ss_install then
    analy_filename_with_shortcut_param()
  end
end

function NEBSE_BeforeInstall()
  CheckClient()
  global_tb_version = {}
  for number in string.gmatch(global_version, "(%d+)|*") do
    global_tb_version[#global_tb_version + 1] = tonumber(number)
  end
  if #global_tb_version >= 4 then
    local v = global_tb_version
    global_dwversion = ((v[1] * 100 + v[2]) * 100 + v[3]) * 10000 + v[4]
  end
  Lua_Logout(InstallPath)
  global_install_path = InstallPath
  Lua_CreateDirectory(global_install_path)
end

function NEBSE_OnInstall()
  Lua_RegVarByCSIDL("APPDATA", 26)
  StopService()
  -- The product's files can be replaced once its programs have exited: wait
  -- for that (at most 2 s), and not at all when none was running.
  local productPrograms = {global_main_app_name_inner_64, global_main_app_name_inner}
  local productWasRunning = AnyRunning(productPrograms)
  Lua_KillAllTaskByName(global_main_app_name_inner_64)
  Lua_KillAllTaskByName(global_main_app_name_inner)
  if productWasRunning then
    WaitForExit(productPrograms, 2000)
  end
  Lua_KillAllTaskByName("ZUZuveDuvuva.exe")
  Lua_Logout("NEBSE_OnInstall_1")

  -- Files in use are moved aside into workDir; a move never crosses drives.
  if string.lower(string.sub(workDir, 1, 1)) ~= string.lower(string.sub(global_install_path, 1, 1)) then
    workDir = paht_remove_filename(global_install_path) .. "\\del_reboot"
    Lua_CreateDirectory(workDir)
  end
  Lua_Logout("NEBSE_OnInstall_2")
  Lua_Logout(global_install_path)

  local extracted
  if InstallPackFile then
    extracted = Lua_UnCompress7z(InstallPackFile, global_install_path, true, nil, UnCompressCallBack)
  else
    extracted = Lua_UnCompress7z("App.7z", global_install_path, false, nil, UnCompressCallBack)
  end
  if not extracted then
    Lua_MsgBox("释放文件时出现错误，安装程序将终止！", msgCaption)
    os.exit(0)
  end

  global_version = Lua_GetFileVersion(string.format("%s\\%s", global_install_path, global_main_app_name))
  Lua_Logout("global_version")
  Lua_Logout(global_version)
  Lua_Logout("NEBSE_OnInstall_3")

  if not InstallPackFile then
    Lua_ExtractResource("LUA", "GLOBAL_VAR.LUAC", global_install_path .. "\\Uninst.dar0")
    Lua_ExtractResource("LUA", "UNINSTSCRIPT.LUAC", global_install_path .. "\\Uninst.dar1")
  end

  main_app_fullpath = string.format("%s\\%s", global_install_path, global_main_app_name)
  local hostaidPath = global_install_path .. "\\hostaid.dll"
  local hostaid = GLibTab[hostaidPath]
  hostaid:Get("IsOSWin7", "bool")()

  if global_merchant_id then
    Lua_RegAdd("HKCU", global_reg_sub_key, "MerchantID", "REG_SZ", global_merchant_id, global_merchant_id_overwrite)
  else
    Lua_RegDel("HKCU", global_reg_sub_key, "MerchantID")
    Lua_DeleteFile(global_install_path .. "\\RavovoSDK")
  end

  local product, uninstall = global_reg_sub_key, global_uninst_sub_key
  -- A command line: the program's path in quotes, or a folder with a blank
  -- ("C:\Program Files\...") would have Windows try "C:\Program.exe" first.
  local uninstallCommand = "\"" .. global_install_path .. "\\Uninstall.exe\""
  reg_add_list = {
    {hkey = "HKLM", subkey = product, value = "AppPath", datatype = "REG_SZ", data = global_install_path, overwrite = true},
    {hkey = "HKLM", subkey = product, value = "UnionId", datatype = "REG_DWORD", data = global_union_id, overwrite = global_cover_unionId},
    {hkey = "HKLM", subkey = product, value = "OEMUnionId", datatype = "REG_DWORD", data = oemUnionId, overwrite = global_cover_unionId},
    {hkey = "HKLM", subkey = product, value = "OemID", datatype = "REG_DWORD", data = 1, overwrite = true},
    {hkey = "HKLM", subkey = product, value = "UserID", datatype = "REG_BINARY", data = 0, overwrite = true},
    {hkey = "HKCU", subkey = product, value = "AppPath", datatype = "REG_SZ", data = global_install_path, overwrite = true},
    {hkey = "HKCU", subkey = product, value = "UnionId", datatype = "REG_DWORD", data = global_union_id, overwrite = global_cover_unionId},
    {hkey = "HKCU", subkey = product, value = "OEMUnionId", datatype = "REG_DWORD", data = oemUnionId, overwrite = global_cover_unionId},
    {hkey = "HKCU", subkey = product, value = "OemID", datatype = "REG_DWORD", data = 1, overwrite = true},
    {hkey = "HKCU", subkey = product, value = "UserID", datatype = "REG_BINARY", data = 0, overwrite = true},
    {hkey = "HKCU", subkey = product, value = "DisplayVersion", datatype = "REG_SZ", data = global_version, overwrite = true},
    {hkey = "HKCU", subkey = product, value = "wpupdate", datatype = "REG_DWORD", data = 1, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "DisplayIcon", datatype = "REG_SZ", data = main_app_fullpath, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "DisplayName", datatype = "REG_SZ", data = global_product_name, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "DisplayVersion", datatype = "REG_SZ", data = global_version, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "EstimatedSize", datatype = "REG_DWORD", data = global_need_disk_space / 1024, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "NoModify", datatype = "REG_DWORD", data = 1, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "NoRepair", datatype = "REG_DWORD", data = 1, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "Publisher", datatype = "REG_SZ", data = global_company_name, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "UninstallString", datatype = "REG_SZ", data = uninstallCommand, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "QuietUninstallString", datatype = "REG_SZ", data = uninstallCommand .. " /S", overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "InstallLocation", datatype = "REG_SZ", data = global_install_path, overwrite = true},
    {hkey = "HKLM", subkey = uninstall, value = "InstallDate", datatype = "REG_SZ", data = os.date("%Y%m%d"), overwrite = true},
  }
  for _, r in ipairs(reg_add_list) do
    Lua_RegAdd(r.hkey, r.subkey, r.value, r.datatype, r.data, r.overwrite)
  end
  Lua_Logout("NEBSE_OnInstall_5")
  for _, r in ipairs(global_custom_reg_list) do
    Lua_RegAdd(r.hkey, r.subkey, r.value, r.datatype, r.data, r.overwrite)
  end

  if global_enable_360 then
    Lua_RegAdd("HKCU", global_reg_sub_key, "360OEM", "REG_DWORD", 1, true)
  else
    Lua_RegDel("HKCU", global_reg_sub_key, "360OEM")
    Lua_DeleteFile(global_install_path .. "\\360SDK")
  end

  fsredir:Disable()
  Lua_Logout("NEBSE_OnInstall_6")
  Lua_RegVarByCSIDL("COMMPROGRAMS", 23)
  Lua_Logout("NEBSE_OnInstall_7")

  -- Users may write the product's data folder, and nothing else of it.
  Lua_CreateDirectory(global_install_path .. "\\Data")
  hostaid:Get("AllowAccountPrivilege", "bool")(WString.New(nil, global_install_path))

  Lua_RegVarByCSIDL("DESKTOP", 16)
  Lua_Logout("NEBSE_OnInstall_8")
  Lua_DeleteFile(string.format("%s\\%s.lnk", "%DESKTOP%", global_old_product_name))
  Lua_DeleteFile(string.format("%s\\%s.lnk", "%DESKTOP%", "Lumetrica"))

  if DesktopShortcutChk then
    hostaid:Get("CreateDesktopShortcut", "void")(WString.New(nil, main_app_fullpath),
      WString.New(nil, global_main_wnd_cls), WString.New(nil, global_product_name))
  end
  Lua_Logout("NEBSE_OnInstall_11")

  if StartMenuShortcutChk then
    Lua_DeleteFile(string.format("%s\\%s", "%COMMPROGRAMS%", "Lumetrica"))
    fsredir:Revert()
    Lua_CreateShortcut(main_app_fullpath,
      string.format("%s\\%s\\%s.lnk", "%COMMPROGRAMS%", global_product_name, global_product_name), "/menu", nil)
    Lua_CreateShortcut(global_install_path .. "\\Uninstall.exe",
      string.format("%s\\%s\\卸载%s.lnk", "%COMMPROGRAMS%", global_product_name, global_product_name), "", nil)
  end
  Lua_Logout("NEBSE_OnInstall_12")

  local approvedRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"
  local run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run"
  if ShouldStartWithWindowsChk then
    Lua_RegDel("HKCU", approvedRun, "Lumetrica")
    Lua_RegAdd("HKCU", run, "Lumetrica", "REG_SZ", global_install_path .. "\\Lumetrica.exe /startup system /s", true)
  else
    Lua_RegDel("HKCU", run, "Lumetrica")
    Lua_RegDel("HKCU", approvedRun, "Lumetrica")
  end
  Lua_Logout("NEBSE_OnInstall_14")

  if InstallServer == true then
    InstallService()
  end
  Lua_Logout("NEBSE_OnInstall_15")

  hostaid:UnLoad()
  GLibTab[hostaidPath] = nil
  fsredir:Revert()
  Lua_Logout("NEBSE_OnInstall_16")

  if global_create_log_folder == true then
    Lua_CreateDirectory(global_install_path .. "\\log")
    Lua_CreateDirectory(global_install_path .. "\\ZipUpdater\\log")
  end
  Lua_Logout("NEBSE_OnInstall_17")

  if workDir ~= Lua_ExpandEnv("%TMP%") then
    Lua_DelFileRecursive(workDir)
    Lua_DeleteFileAfterReboot(workDir)
  end
end

function NEBSE_BeforeComplete()
  if global_enable_sem == true and semShortId ~= "" then
    semReport()
  end
  SsRunApp()
  UpInfomession()
  notify_association_changed()
end

function NEBSE_AfterComplete()
end
