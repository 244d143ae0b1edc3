-- The uninstall script, run by the product's uninstaller after the settings
-- (Uninst.dar0). The uninstaller sets global_install_path, _Uninstall_Path,
-- ChkUserSetting, ClearUserData (and ReasonID, tbSuggest, tbContact when the
-- user gave a reason), then fires NEBSE_BeforeInit, NEBSE_OnUninstall,
-- NEBSE_FeedBack when there is a reason, and NEBSE_AfterUnintall last.

local scriptVersion = "1.0.2.55"
local statModule = nil
local statLibCopy = nil
local workDir = Lua_ExpandEnv("%TMP%")
-- Whether the install folder carries the marks of the product's own: the
-- uninstaller's files in it and the Apps entry's "InstallLocation" naming
-- it. Only such a folder is removed whole.
local installFolderMarked = false
local serviceExe = "LumetricaServer.exe"

global_reg_public_key = "SOFTWARE\\Orrinthwake"

-- WOW64 file-system redirection, switched off around work on system folders
-- when a 32-bit uninstaller runs on 64-bit Windows.
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

-- 1 when the file or folder exists.
function CheckPathExist(path)
  local shlwapi = GLibTab.Shlwapi
  local PathFileExistsW = shlwapi and shlwapi:Get("PathFileExistsW", "int")
  if PathFileExistsW == nil then
    return 0
  end
  return PathFileExistsW(WString.New(nil, path))
end

-- The folder part of a path such as C:\Apps\Lumetrica; for anything else
-- (a drive root, a bare name) the first three characters.
function paht_remove_filename(path)
  return string.match(path, "^(%a:\\.+)\\[^\\]+$") or string.sub(path, 1, 3)
end

function GetUnionID()
  local unionId = Lua_RegQuery("HKCU", global_reg_sub_key, "UnionId")
  if unionId == nil then
    unionId = Lua_RegQuery("HKLM", global_reg_sub_key, "UnionId")
  end
  global_union_id = tonumber(unionId) or 1
end

-- Ends the processes of that name that run from a drive-letter path,
-- logging each id with the format ("pid:%d" of -1 once none is left), in at
-- most killRounds rounds. A process that cannot be ended is logged
-- ("process N (name) could not be ended") and left, and the others are
-- still ended: the uninstall goes on as for a file in use.
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

function UninstallService()
  KillAllByName(serviceExe, "pid:%d")
  Lua_Exec(string.format("%s\\%s", global_install_path, serviceExe), nil, "--UnInstallTask", true)
end

function DeleteFileAndDirect(path, flag)
  if path == nil then
    return
  end
  if flag == true then
    Lua_DelFileRecursive(path, function() end)
  else
    Lua_DelFileRecursive(path)
  end
end

-------------------------------------------------------------------------------
-- Statistics, through the copy of the library beside the uninstaller: the
-- install folder goes away while the library is still in use.

-- In binding order; a missing export is left out and never called.
local statExports = {
  {"stat_init", "bool"}, {"stat_level"}, {"stat_unionid"}, {"stat_appid"}, {"stat_install", "int"},
  {"stat_version_ex"}, {"stat_install_addr"}, {"stat_close"}, {"stat_http_post", "int"},
}

function CreateSubtatModule()
  local module = {}
  local lib = GLibTab[statLibCopy]
  if lib ~= nil then
    module.lib = lib
    for _, export in ipairs(statExports) do
      module[export[1]] = lib:Get(export[1], export[2])
    end
  end
  return module
end

local function CallStat(name, ...)
  local export = statModule[name]
  if export ~= nil then
    return export(...)
  end
end

function InitSubStat()
  if statModule == nil then
    return false
  end
  CallStat("stat_level", 2)
  CallStat("stat_install_addr", global_udp_install_uninstall_url, tonumber(global_udp_un_install_port))
  Lua_Logout(string.format("stat_install_addr %s:%s", global_udp_install_uninstall_url,
                           tostring(global_udp_un_install_port)))
end

function UninstallReport()
  if statModule == nil then
    return false
  end
  CallStat("stat_install", 2)
  CallStat("stat_http_post", global_Uninstall_PostURL, nil, 0, true)
  Lua_Logout(global_Uninstall_PostURL)
end

function UninstallReason(body)
  if statModule == nil then
    return false
  end
  CallStat("stat_install", 2)
  CallStat("stat_http_post", global_Uninstall_ReasonURL, body, #body, true)
  Lua_Logout(global_Uninstall_ReasonURL)
end

-------------------------------------------------------------------------------
-- The uninstall

local quickLaunchLink = "%s\\Microsoft\\Internet Explorer\\Quick Launch\\%s.lnk"
local pinnedTaskBarLink = "%s\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\TaskBar\\%s.lnk"
local pinnedStartMenuLink = "%s\\Microsoft\\Internet Explorer\\Quick Launch\\User Pinned\\StartMenu\\%s.lnk"

-- A file that cannot be deleted (normally one in use) is moved aside and
-- deleted at the next restart; one that cannot even be moved (held without
-- any sharing) is deleted at the next restart where it is.
-- A junction or symbolic link that stays comes without a path: nothing is
-- moved or scheduled through it.
local function MoveAsideUndeletable(path, code)
  Lua_Logout(path .. string.format("  delete file failed:%d", code))
  if path == "" then
    return
  end
  local asideName = Lua_PathYetAnotherMakeUniqueName(Lua_GetTempFileName(workDir, "Tqmov"))
  Lua_Logout(asideName)
  if Lua_MoveFile(path, asideName) then
    Lua_DeleteFileAfterReboot(asideName)
  end
  -- The shell may report a move that left the file where it was.
  if Lua_PathFileExists(path) then
    Lua_DeleteFileAfterReboot(path)
  end
end

local uninstallerFiles = {"Uninstall.exe", "Uninst.dar0", "Uninst.dar1"}

function IsProductInstallFolder(folder)
  if folder == nil then
    return false
  end
  for _, name in ipairs(uninstallerFiles) do
    if CheckPathExist(folder .. "\\" .. name) ~= 1 then
      return false
    end
  end
  local registered = Lua_RegQuery("HKLM", global_uninst_sub_key, "InstallLocation")
  return registered ~= nil and string.lower(registered) == string.lower(folder)
end

-- Whether the path, below the install folder, runs through a junction or
-- symbolic link: an empty folder there is none of ours to remove.
local GetFileAttributesW = GLibTab.kernel32:Get("GetFileAttributesW", "uint")
local fileAttributeReparsePoint = 0x400
local function RunsThroughLink(path)
  local walked = global_install_path
  for name in string.gmatch(string.sub(path, #global_install_path + 2), "[^\\]+") do
    walked = walked .. "\\" .. name
    local attributes = GetFileAttributesW(WString.New(nil, walked))
    if attributes ~= 0xFFFFFFFF and bit32.band(attributes, fileAttributeReparsePoint) ~= 0 then
      return true
    end
  end
  return false
end

-- Deletes what the install recorded (InstalledEntries, set by the
-- uninstaller; every folder on the way to a file is recorded before it):
-- the files, last written first, then the folders that are left empty,
-- deepest first, then the install folder when it is empty. Anything else
-- in the folder stays.
local function DeleteRecordedEntries()
  local folders = {}
  for i = #(InstalledEntries or {}), 1, -1 do
    local path = InstalledEntries[i]
    if string.sub(path, -1) == "\\" then
      folders[#folders + 1] = string.sub(path, 1, -2)
    else
      Lua_DelFileRecursiveEx(path, MoveAsideUndeletable)
    end
  end
  table.sort(folders, function(a, b) return #a > #b end)
  local RemoveDirectoryW = GLibTab.kernel32:Get("RemoveDirectoryW", "int")
  for _, folder in ipairs(folders) do
    if not RunsThroughLink(folder) then
      RemoveDirectoryW(WString.New(nil, folder))
    end
  end
  RemoveDirectoryW(WString.New(nil, global_install_path))
end

function doUninstall()
  UninstallService()
  if Lua_IsWow64() then
    KillAllByName(global_main_app_name_inner_64, "Updates pid:%d")
  else
    KillAllByName(global_main_app_name_inner, "Updates pid:%d")
  end
  KillAllByName(global_main_app_name, "pid:%d")
  KillAllByName("ZUZuveDuvuva.exe", "pid:%d")

  -- Files in use are moved aside into workDir; a move never crosses drives.
  if string.lower(string.sub(workDir, 1, 1)) ~= string.lower(string.sub(global_install_path, 1, 1)) then
    workDir = paht_remove_filename(global_install_path) .. "\\del_reboot"
    Lua_CreateDirectory(workDir)
  end

  fsredir:Disable()
  Lua_RegVarByCSIDL("DESKTOP", 16)
  for _, name in ipairs({global_old_product_name, global_product_name, "Lumetrica"}) do
    Lua_DeleteFile(string.format("%s\\%s.lnk", "%DESKTOP%", name))
  end

  local productNames = {global_old_product_name, global_product_name}
  local hostaidPath = global_install_path .. "\\hostaid.dll"
  local hostaid = GLibTab[hostaidPath]
  local UnpinFromTaskbar = hostaid:Get("UnpinFromTaskbar", "void")
  for _, name in ipairs(productNames) do
    UnpinFromTaskbar(WString.New(nil, string.format(quickLaunchLink, "%APPDATA%", name)))
  end
  hostaid:UnLoad()
  GLibTab[hostaidPath] = nil

  for _, name in ipairs(productNames) do
    Lua_Exec(string.format(pinnedTaskBarLink, "%APPDATA%", name), "taskbarunpin")
  end
  for _, name in ipairs(productNames) do
    Lua_DeleteFile(string.format(quickLaunchLink, "%APPDATA%", name))
  end

  Lua_RegVarByCSIDL("COMMPROGRAMS", 23)
  for _, name in ipairs(productNames) do
    Lua_Exec(string.format(pinnedStartMenuLink, "%APPDATA%", name), "startunpin")
  end

  DeleteFileAndDirect(string.format("%s\\%s", "%COMMPROGRAMS%", global_old_product_name), true)
  start_menu_app_dir = string.format("%s\\%s", "%COMMPROGRAMS%", global_product_name)
  for _, folder in ipairs({start_menu_app_dir, string.format("%s\\%s", "%COMMPROGRAMS%", "Lumetrica"),
                           string.format("%s\\%s", "%PROGRAMS%", "Lumetrica")}) do
    DeleteFileAndDirect(folder, true)
    Lua_DeleteFile(folder)
    fsredir:Revert()
  end

  reg_del_list = {
    {hkey = "HKLM", subkey = global_reg_sub_key},
    {hkey = "HKCU", subkey = global_reg_sub_key},
    {hkey = "HKLM", subkey = global_uninst_sub_key},
  }
  for _, entry in ipairs(reg_del_list) do
    Lua_Logout(entry.hkey .. "\\" .. entry.subkey)
    Lua_RegDel(entry.hkey, entry.subkey)
  end
  -- The autostart value would start a program that is about to be removed.
  Lua_RegDel("HKCU", "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Lumetrica")
  Lua_RegDel("HKCU", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run", "Lumetrica")

  if installFolderMarked then
    Lua_DelFileRecursiveEx(global_install_path, MoveAsideUndeletable)
  else
    Lua_Logout("the install folder is not the product's alone: only the recorded files go")
    DeleteRecordedEntries()
  end

  if workDir ~= Lua_ExpandEnv("%TMP%") then
    Lua_DelFileRecursive(workDir)
    Lua_DeleteFileAfterReboot(workDir)
  end
  return true
end

function doClean()
  if statModule ~= nil and statModule.lib ~= nil then
    statModule.lib:UnLoad()
  end
  if _UninstallLib ~= nil then
    _UninstallLib.lib:UnLoad()
  end
  if not ChkUserSetting then
    Lua_RegVarByCSIDL("APPDATA_USER", 26)
    Lua_RegVarByCSIDL("APPDATA_ALLUSER", 35)
  end
  Lua_DeleteFile(_Uninstall_Path)
  -- Only the product's own folder goes at the restart (once empty); a
  -- folder that is not the product's alone is left as it is.
  if installFolderMarked then
    Lua_DeleteFileAfterReboot(global_install_path)
  end
  if ClearUserData then
    Lua_DelFileRecursive(string.format("%s\\%s", "%LOCALAPPDATA%", global_localdatapath))
  end
end

-- A JSON string's content: the user's text must not end the string early
-- or break the report.
local function JsonText(value)
  return (string.gsub(tostring(value), '[%c"\\]', function(c)
    return string.format("\\u%04x", string.byte(c))
  end))
end

local function WithoutWhiteSpace(text)
  text = string.gsub(text, "/r/n", "")
  return (string.gsub(text, "%s+", ""))
end

function FeedBack()
  if tbContact == nil and ReasonID == nil then
    return
  end
  tbContact = WithoutWhiteSpace(tbContact)
  tbSuggest = WithoutWhiteSpace(tbSuggest)
  uninstreason = string.format('{"come_from":32772, "content_ids":"%s", "uninstsuggest":"%s","contact":"%s"}',
                               JsonText(ReasonID), JsonText(tbSuggest), JsonText(tbContact))
  UninstallReason(uninstreason)
end

-------------------------------------------------------------------------------
-- Events

function NEBSE_BeforeInit()
  Lua_Logout("script_version:" .. scriptVersion)
  GetUnionID()
  Lua_Logout("union_id:" .. tostring(global_union_id))
  if global_install_path == nil or CheckPathExist(global_install_path) ~= 1 then
    global_install_path = Lua_RegQuery("HKLM", global_uninst_sub_key, "InstallLocation")
  end
  installFolderMarked = IsProductInstallFolder(global_install_path)
  main_app_fullpath = string.format("%s\\%s", global_install_path, global_main_app_name_inner)
  uninstall_work_dir = paht_remove_filename(Lua_GetModuleFileName())

  if CheckPathExist(global_install_path .. "\\rkstat.dll") == 1 then
    statLibCopy = uninstall_work_dir .. "\\rkstat.dll"
    Lua_CopyFile(global_install_path .. "\\rkstat.dll", statLibCopy)
    -- A statistics library may ship a companion, udp_rk.dll, that it loads
    -- from beside itself; it travels with the copy so the install folder
    -- can go. The sample's rkstat.dll sends its datagrams itself and has
    -- none: for it this copy only writes its "not exists" line to the log.
    Lua_CopyFile(global_install_path .. "\\udp_rk.dll", uninstall_work_dir)
    if CheckPathExist(statLibCopy) == 1 then
      statModule = CreateSubtatModule()
      InitSubStat()
    end
  end
end

function NEBSE_OnUninstall()
  doUninstall()
  UninstallReport()
end

function NEBSE_AfterUnintall()
  Lua_Logout("-----install----")
  doClean()
end

function NEBSE_FeedBack()
  Lua_Logout("-----NEBSE_FeedBack----")
  FeedBack()
end
