-- Keeps a library loaded, the way a running program holds the product's
-- files: its file cannot be opened for writing but can be renamed.
-- Arguments: the library's path, a flag file. Prints "held" once loaded and
-- creates the flag file; unloads the library and ends once the flag file
-- is gone.
local path, flag = arg[1], arg[2]
local library = assert(GLibTab[path], "cannot load " .. path)
local file = assert(io.open(flag, "w"))
file:close()
print("held")
io.stdout:flush()
local Sleep = GLibTab.kernel32:Get("Sleep")
while true do
  file = io.open(flag, "r")
  if not file then break end
  file:close()
  Sleep(100)
end
library:UnLoad()
