print("kill", Lua_KillAllTaskByName("TGT1.exe"))
