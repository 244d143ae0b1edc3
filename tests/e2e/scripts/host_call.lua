-- Calls host functions with arguments from the command line and prints what
-- they return, for tests that drive nebscript.
--
--   nebscript host_call.lua CALL [-- CALL ...]
--   CALL: NAME ARG...   a global function (a host function) and its arguments
--         hold PATH     opens PATH with io.open and keeps it open to the end
--         write PATH    creates (or empties) the file PATH
--   ARG:  s:TEXT a string, n:NUMBER a number, nil, true, false,
--         fn a callback that prints "callback<TAB>path<TAB>code" and answers 0
--         pause the same callback, which on its first call then waits for a
--               line on standard input before it answers
--
-- Each function call prints one line: "=" followed by its results, each as
-- "<TAB>type:value" ("nil" alone for nil). Output is flushed after every line.

local held = {}

local function emit(line)
  io.write(line, "\n")
  io.flush()
end

local function callback(path, code)
  emit("callback\t" .. tostring(path) .. "\t" .. tostring(code))
  return 0
end

local paused = false

local function pausing_callback(path, code)
  callback(path, code)
  if not paused then
    paused = true
    io.read("*l")
  end
  return 0
end

local function decode(word)
  if word == "nil" then return nil end
  if word == "true" then return true end
  if word == "false" then return false end
  if word == "fn" then return callback end
  if word == "pause" then return pausing_callback end
  local kind, value = word:match("^(%a+):(.*)$")
  if kind == "s" then return value end
  if kind == "n" then return tonumber(value) end
  error("host_call: bad argument " .. word)
end

local function describe(value)
  if value == nil then return "nil" end
  return type(value) .. ":" .. tostring(value)
end

local function run(words)
  local name = words[1]
  if name == "hold" then
    held[#held + 1] = assert(io.open(words[2], "rb"))
    return
  end
  if name == "write" then
    assert(io.open(words[2], "wb")):close()
    return
  end
  local args, count = {}, #words - 1
  for i = 2, #words do args[i - 1] = decode(words[i]) end
  local results = table.pack(_G[name](table.unpack(args, 1, count)))
  local line = "="
  for i = 1, results.n do line = line .. "\t" .. describe(results[i]) end
  emit(line)
end

local words = {}
for i = 1, #arg do
  if arg[i] == "--" then
    run(words)
    words = {}
  else
    words[#words + 1] = arg[i]
  end
end
if #words > 0 then run(words) end
