// Reading the script string values (WString, AString) and turning any script
// value into text for them. A value's type is told by its metatable.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "script/lua.h"

constexpr char kWStringMetaTable[] = "WStringMetaTable";
constexpr char kAStringMetaTable[] = "AStringMetaTable";

// The text of the value at `index` up to its terminator (never past the
// block), or nothing when the value is not of that type. The view lives as
// long as the value.
std::optional<std::wstring_view> WStringText(lua_State* L, int index);
std::optional<std::string_view> AStringText(lua_State* L, int index);

// UTF-16 text of a string or number (from UTF-8), a WString, or an AString
// (from the thread's ANSI code page); anything else, or an absent argument,
// gives the empty text.
std::wstring ToWideText(lua_State* L, int index);

// The same in the thread's ANSI code page: an AString's bytes as they are,
// everything else converted from its wide text.
std::string ToNarrowText(lua_State* L, int index);
