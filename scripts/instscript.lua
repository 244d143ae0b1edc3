-- The install script: the program fires these five events in this order.
-- This build installs the payload archive into the chosen folder; the
-- stages record themselves in install_stages so that a later stage can see
-- what ran before it.
install_stages = {}

local function enter(stage)
  install_stages[#install_stages + 1] = stage
end

function NEBSE_BeforeInit() enter("BeforeInit") end

function NEBSE_BeforeInstall()
  enter("BeforeInstall")
  Lua_CreateDirectory(InstallPath)
end

function NEBSE_OnInstall()
  enter("OnInstall")
  install_extracted = Lua_UnCompress7z("App.7z", InstallPath, false)
  Lua_Logout("payload extracted into " .. InstallPath .. ": " .. tostring(install_extracted))
end

function NEBSE_BeforeComplete() enter("BeforeComplete") end
function NEBSE_AfterComplete() enter("AfterComplete") end
