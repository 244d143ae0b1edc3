-- Stand-ins for the installer's host functions, script types and native
-- libraries, so that the shipped scripts' main chunks can run in a plain
-- 32-bit Lua: any Lua_ function does nothing, a library's exports do
-- nothing, and the few values the main chunks compute with are plausible.
local function nothing() end
setmetatable(_G, {__index = function(_, name)
  if type(name) == "string" and name:match("^Lua_") then return nothing end
end})
Lua_ExpandEnv = function(text) return text end
Lua_GetOSVersion = function() return 6 end
Lua_IsWow64 = function() return true end
local library = {Get = function() return nothing end, UnLoad = nothing}
GLibTab = setmetatable({}, {__index = function() return library end})
RawBuffer = {New = function() return {OffsetGetAsUInt32 = function() return 0 end} end}
WString = {New = function(_, text) return text end}
AString = WString
