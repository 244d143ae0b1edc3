-- Install script of the end-to-end builds. Each event appends its name to
-- the trail file NEB_TEST_TRAIL; AfterComplete also writes the globals the
-- program sets. Further switches, all from the environment:
--   NEB_TEST_HOLD=path      BeforeInit creates path.held and waits while path exists
--   NEB_TEST_HOLD_IN=Event  that event holds instead of BeforeInit
--   NEB_TEST_FAIL_IN=Event  that event calls a host function that does not exist
--   NEB_TEST_SKIP=Event     that event is not defined
--   NEB_TEST_SCRIPT_SILENT  BeforeInit asks for the silent install
--   NEB_TEST_LOGOUT=text    BeforeInit writes the text to the log with Lua_Logout
--   NEB_TEST_STRICT=name    the global name is removed, and reading it raises an
--                           error (a strict metatable on _G)
--   NEB_TEST_STAT_LIBRARY=path  OnInstall copies that library into the install
--                           folder as rkstat.dll, as the payload brings it
-- An event that runs on another thread than the one that loaded the script
-- (the main thread) adds the line "thread <event>".
local trail = os.getenv("NEB_TEST_TRAIL")
local currentThread = GLibTab.kernel32:Get("GetCurrentThreadId", "uint")
local sleep = GLibTab.kernel32:Get("Sleep", "uint")
local mainThread = currentThread()

local function note(line)
  if not trail then return end
  local file = assert(io.open(trail, "a"))
  file:write(line, "\n")
  file:close()
end

local function exists(path)
  local file = io.open(path, "r")
  if file then file:close() end
  return file ~= nil
end

local function hold(event)
  local path = os.getenv("NEB_TEST_HOLD")
  if not path or (os.getenv("NEB_TEST_HOLD_IN") or "BeforeInit") ~= event then return end
  assert(io.open(path .. ".held", "w")):close()
  while exists(path) do sleep(20) end
end

local extra = {
  BeforeInit = function()
    if os.getenv("NEB_TEST_SCRIPT_SILENT") then global_ss_install = true end
    if os.getenv("NEB_TEST_LOGOUT") then Lua_Logout(os.getenv("NEB_TEST_LOGOUT")) end
  end,
  OnInstall = function()
    local library = os.getenv("NEB_TEST_STAT_LIBRARY")
    if library then Lua_CopyFile(library, global_install_path .. "\\rkstat.dll") end
  end,
  AfterComplete = function()
    for _, name in ipairs{"global_install_path", "InstallPath", "ShouldStartWithWindowsChk",
                          "global_ss_install"} do
      note(name .. "=" .. tostring(_G[name]))
    end
  end,
}

for _, name in ipairs{"BeforeInit", "BeforeInstall", "OnInstall", "BeforeComplete", "AfterComplete"} do
  if os.getenv("NEB_TEST_SKIP") ~= name then
    _G["NEBSE_" .. name] = function()
      note("event " .. name)
      if currentThread() ~= mainThread then note("thread " .. name) end
      if os.getenv("NEB_TEST_FAIL_IN") == name then Lua_HttpPost() end
      if extra[name] then extra[name]() end
      hold(name)
    end
  end
end

local strict = os.getenv("NEB_TEST_STRICT")
if strict then
  rawset(_G, strict, nil)
  setmetatable(_G, {__index = function(_, name)
    if name == strict then error("strict: no global " .. name, 2) end
  end})
end
