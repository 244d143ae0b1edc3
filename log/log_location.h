// The location that starts every program log line: "[file function: line] ".
#pragma once

#include <string>
#include <string_view>

// The source file's base name (the text after its last path separator), a
// blank, the function's name, ": ", the line in decimal, "] ".
std::string LocationPrefix(std::string_view file, std::string_view function, int line);

// A format string for the log library: `prefix` with its braces doubled so
// they print as they are, followed by the writer's own format.
std::string LocatedFormat(std::string_view prefix, std::string_view format);
