-- Run after the shipped scripts under wow64_paths_host.lua: the install
-- folder a fresh install defaults to, and the redirection switch around
-- system folders, for a 32-bit installer on 64-bit Windows (NEB_WOW64=1)
-- and on 32-bit Windows. No machine here runs the first case for real: the
-- 32-bit lane's Wine is a 32-bit Windows.
local wow64 = Lua_IsWow64()

local function check(condition, message)
  if not condition then error(message, 2) end
end

native_calls = {}
fsredir:Disable()
fsredir:Revert()
if wow64 then
  check(#native_calls == 2, "two redirection calls expected, got " .. #native_calls)
  local disable, revert = native_calls[1], native_calls[2]
  check(disable[1] == "Wow64DisableWow64FsRedirection", "first call " .. tostring(disable[1]))
  check(disable[2].size == 4, "the switch-off's buffer holds one 32-bit word")
  check(revert[1] == "Wow64RevertWow64FsRedirection", "second call " .. tostring(revert[1]))
  check(revert[2] == SAVED_REDIRECTION, "the revert passes the saved word, got " .. tostring(revert[2]))
else
  check(#native_calls == 0, "no redirection call on 32-bit Windows, got " .. #native_calls)
end

-- Only the install script chooses a folder.
if NEBSE_OnInstall then
  global_install_path = nil
  NEBSE_BeforeInit()
  local expected = (wow64 and "%ProgramFiles(x86)%\\" or "%ProgramFiles%\\") .. global_install_basepath
  check(global_install_path == expected, "install folder " .. tostring(global_install_path) .. ", expected " .. expected)
end
