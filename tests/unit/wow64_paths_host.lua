-- Loaded after chunk_check_host.lua and before the shipped scripts: the
-- system answers Lua_IsWow64 as NEB_WOW64 says ("1": a 32-bit installer on
-- 64-bit Windows), and every native call the scripts make through GLibTab
-- is recorded in native_calls as {export name, arguments...}.
local wow64 = os.getenv("NEB_WOW64") == "1"
Lua_IsWow64 = function() return wow64 end
Lua_GetModuleFileName = function() return "C:\\Downloads\\setup.exe" end

native_calls = {}
local library = {UnLoad = function() end}
function library:Get(name)
  return function(...)
    native_calls[#native_calls + 1] = {name, ...}
    return 1
  end
end
GLibTab = setmetatable({}, {__index = function() return library end})

-- The word a redirection switch-off leaves in its buffer.
SAVED_REDIRECTION = 0x5EED
RawBuffer = {New = function(size)
  return {size = size, OffsetGetAsUInt32 = function(_, offset)
    return offset == 0 and SAVED_REDIRECTION or 0
  end}
end}
