-- GLibTab, DllManager and NativeCall against real system functions and the
-- bridge_peer test library.
-- Arguments: the peer's path, the name and the value of an environment
-- variable the test set, the path of a file to write.
dofile((arg[0]:match("^(.*[\\/])") or "") .. "check.lua")
local peerPath, envName, envValue, outputPath = arg[1], arg[2], arg[3], arg[4]

local kernel32 = GLibTab.kernel32
local GetModuleHandleW = kernel32:Get("GetModuleHandleW", "ptr")
local function peerLoaded() return address(GetModuleHandleW((wide(peerPath)))) ~= 0 end

-- GLibTab
case("GLibTab.kernel32 is a DllManager kept in the table", "true, true, true",
     getmetatable(kernel32) == debug.getregistry().DllManagerMetaTable,
     rawget(GLibTab, "kernel32") == kernel32, GLibTab.kernel32 == kernel32)
case("the peer is not loaded before its first use", "false", peerLoaded())
local peer = GLibTab[peerPath]
case("a second access finds the same value", "true", GLibTab[peerPath] == peer)
case("a bound export of the peer", "42", (peer:Get("PeerAnswer", "int")()))
local function highWord(kind) return (peer:Get("PeerHighWord", kind)()) end
case("values are the low 32 bits of the word, addresses the whole word", "0, 0, false, true",
     highWord("int"), highWord("uint"), highWord("bool"),
     address(highWord("ptr")) == (WORD_BYTES == 8 and 5 * 2 ^ 32 or 0))
peer:UnLoad()
case("one UnLoad frees it: GLibTab loaded it once", "false", peerLoaded())
case("Get after UnLoad is refused", "nil, hModule is nil", peer:Get("PeerAnswer", "int"))
case("a table, boolean or nil key gives nil", "nil, nil, nil", GLibTab[{}], GLibTab[true], GLibTab[nil])
case("a library that does not load gives nil and is not kept", "nil, nil, nil, nil",
     GLibTab.no_such_library_here, rawget(GLibTab, "no_such_library_here"),
     GLibTab[12345], rawget(GLibTab, 12345))
case("a boolean key is not kept either", "nil", rawget(GLibTab, true))

-- DllManager.Load and UnLoad
case("the module table holds only Load", "Load, nil", next(DllManager), next(DllManager, "Load"))
case("Load of a missing library gives nil and the system's code", "nil, 126",
     DllManager.Load("no_such_library_here"))
case("Load takes the name from the last argument", "true",
     getmetatable(DllManager.Load("no_such_library_here", "kernel32")) == getmetatable(kernel32))
local first, second = DllManager.Load(peerPath), DllManager.Load(peerPath)
first:UnLoad()
first:UnLoad()
case("a second UnLoad of the same value frees nothing", "true", peerLoaded())
second.UnLoad(second, "not a library")
case("UnLoad looks only at the last argument", "true", peerLoaded())
case("UnLoad returns nil", "nil", second.UnLoad("not a library", second))
case("the last UnLoad frees the library", "false", peerLoaded())

-- Get
local MulDivInt, code = kernel32:Get("MulDiv", "int")
case("Get gives a function and 0", "function, 0", type(MulDivInt), code)
case("a missing export gives nil and the system's code", "nil, 127",
     kernel32:Get("NoSuchExportHere", "int"))
case("Get on a value that is not a library", "nil, hModule is nil",
     kernel32.Get({}, "GetCurrentProcessId", "uint"))
local late = kernel32:Get("MulDiv", "ignored", "also ignored", "int", false)
case("with more than four arguments the last two are kind and flag", "-7, int, false, userdata",
     (late(-7, 1, 1)), select(2, debug.getupvalue(late, 1)), select(2, debug.getupvalue(late, 2)),
     type(select(2, debug.getupvalue(late, 3))))
local plain = kernel32:Get("MulDiv", "int")
case("without a flag the second upvalue is nil", "nil", select(2, debug.getupvalue(plain, 2)))

-- Result kinds
local function MulDiv(kind) return (kernel32:Get("MulDiv", kind)) end
case("int and uint of the word -7", "-7, 4294967289", (MulDiv("int")(-7, 1, 1)), (MulDiv("uint")(-7, 1, 1)))
local lstrlenA_bool = kernel32:Get("lstrlenA", "bool")
case("bool: 2 is true, 0 is false", "true, false", (lstrlenA_bool("ab")), (lstrlenA_bool("")))
local pid = kernel32:Get("GetCurrentProcessId", "uint")()
local GetCurrentProcess = kernel32:Get("GetCurrentProcess", "ptr")
local byHandle = kernel32:Get("GetProcessId", "uint")(GetCurrentProcess())
case("GetCurrentProcessId as uint agrees with GetProcessId", "number, true",
     type(pid), pid > 0 and pid == byHandle)
local ansiOut = RawBuffer.New(32)
case("astr: the text at the returned address", "ansi text",
     (kernel32:Get("lstrcpyA", "astr")(ansiOut, "ansi text")))
local wideOut = RawBuffer.New(64)
case("wstr: the text at the returned address", "wide 文字",
     (kernel32:Get("lstrcpyW", "wstr")(wideOut, (wide("wide 文字")))))
case("astr and wstr of a null address are empty", ", ", (MulDiv("astr")(0, 1, 1)), (MulDiv("wstr")(0, 1, 1)))
local commandLine = kernel32:Get("GetCommandLineW", "ptr")()
case("ptr: a pointer that works as a buffer", "userdata, true",
     type(commandLine),
     ops.OffsetGetAsWString(commandLine, 0) == kernel32:Get("GetCommandLineW", "wstr")())
case("an unknown kind, a number or no kind gives nil", "nil, nil, nil",
     (MulDiv("Int")(1, 1, 1)), (MulDiv(5)(1, 1, 1)), (MulDiv()(1, 1, 1)))

-- Argument kinds; SetLastError hands its argument back as the call's code
local SetLastError = kernel32:Get("SetLastError")
local function passed(value)
  SetLastError(55)
  return select(2, SetLastError(value))
end
case("nil, booleans and numbers as words", "0, 1, 0, 1234, 4294967295, 4294967295",
     passed(nil), passed(true), passed(false), passed(1234), passed(4294967295), passed(-1))
local lstrlenA, lstrlenW = kernel32:Get("lstrlenA", "int"), kernel32:Get("lstrlenW", "int")
case("a string passes its own UTF-8 bytes", "5, 6", (lstrlenA("hello")), (lstrlenA("中文")))
local abc = wide("abc")
case("a full userdata passes its block, a pointer itself", "3, 2",
     (lstrlenW(abc)), (lstrlenW(abc:OffsetGetAsPointer(2))))
local handleCopy = RawBuffer.New(8)
GLibTab.ntdll:Get("RtlMoveMemory")(handleCopy, kernel32, WORD_BYTES)
case("a DllManager value passes its block, which holds the handle", "true",
     handleCopy:OffsetGetAsUInt32(0) + handleCopy:OffsetGetAsUInt32(4) * 2 ^ 32
       == address(GetModuleHandleW((wide("kernel32.dll")))))

-- Sixteen arguments of every kind to a cdecl function
local wsprintfA = GLibTab.user32:Get("wsprintfA", "int", true)
local formatted = RawBuffer.New(256)
local length = wsprintfA(formatted, "%s|%d|%u|%d|%d|%d|%d|%d|%d|%d|%d|%d|%d|%d",
                         "text", nil, 4294967295, true, false, -6, 7, 8, 9, 10, 11, 12, 13, 14)
case("wsprintfA with 16 arguments", "45, text|0|4294967295|1|0|-6|7|8|9|10|11|12|13|14",
     length, formatted:OffsetGetAsAString(0))

-- Output buffers and error codes
local GetEnvironmentVariableW = kernel32:Get("GetEnvironmentVariableW", "uint")
local envOut = RawBuffer.New(512)
local name = wide(envName)
local _, units = wide(envValue)
case("GetEnvironmentVariableW writes into an output buffer", units .. ", " .. envValue,
     (GetEnvironmentVariableW(name, envOut, 256)), envOut:OffsetGetAsWString(0))
case("a failing call gives GetLastError as its second result", "4294967295, 2",
     kernel32:Get("GetFileAttributesA", "uint")("C:\\no_such_file_here.txt"))
SetLastError(77)
case("a succeeding call gives the code it left", "1, 77", lstrlenA("x"))

-- A stdcall function of seven arguments; the test reads the file
local CreateFileA = kernel32:Get("CreateFileA", "ptr")
local file = CreateFileA(outputPath, 0x40000000, 0, nil, 2, 0x80, nil)
local written = RawBuffer.New(4)
case("WriteFile through a handle from CreateFileA", "true, 6, true",
     (kernel32:Get("WriteFile", "bool")(file, "bridge", 6, written, nil)),
     written:OffsetGetAsUInt32(0), (kernel32:Get("CloseHandle", "bool")(file)))

-- WString and AString values pass their blocks: the system reads and writes them in place.
local lstrlenW = kernel32:Get("lstrlenW", "int")
case("lstrlenW reads a WString's units, lstrlenA an AString's bytes", "5, 3",
     (lstrlenW(WString.New(16, "wide!"))), (lstrlenA(AString.New(8, "abc"))))
local value = WString.New(64)
local valueLength = GetEnvironmentVariableW(WString.New(64, envName), value, 64)
case("GetEnvironmentVariableW writes into a WString output buffer", "true, true",
     valueLength == units, tostring(value) == envValue)

print("done")
