// Lua 5.2 chunks between layouts: the engine dumps a compiled function in
// the layout of the program that runs it (with its debug information); the
// installer it is meant for may have another size_t width. A chunk is read
// into a tree of functions and written again, stripped, for any width.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nebpack {

struct ChunkConstant {
  uint8_t type = 0;  // LUA_TNIL, LUA_TBOOLEAN, LUA_TNUMBER or LUA_TSTRING
  uint8_t boolean = 0;
  double number = 0;
  std::string text;  // without the terminating zero
};

struct ChunkFunction {
  int32_t lineDefined = 0;
  int32_t lastLineDefined = 0;
  uint8_t numParams = 0;
  uint8_t isVararg = 0;
  uint8_t maxStackSize = 0;
  std::vector<uint32_t> code;
  std::vector<ChunkConstant> constants;
  std::vector<ChunkFunction> functions;
  std::vector<uint8_t> upvalues;  // instack, index: two bytes per upvalue
  std::vector<int32_t> lineInfo;  // the source line of each instruction; empty when stripped
};

// Reads a chunk in the layout its header states (int, instruction 4 bytes,
// number 8, little-endian; size_t 4 or 8). False with a reason otherwise.
bool ReadChunk(const std::string& bytes, ChunkFunction& main, std::string& error);

// The chunk without debug information, with size_t `sizeTWidth` bytes wide.
std::string WriteStrippedChunk(const ChunkFunction& main, int sizeTWidth);

}  // namespace nebpack
