/* Loads the shipped build's compiled scripts in a 32-bit Lua, the layout the
 * 32-bit installer reads, and runs them. Built for i386 Linux and run under
 * qemu-i386, since no 32-bit Windows program can start on the build machines.
 * Usage: chunk_layout_check [--host FILE] CHUNK... [-- FUNCTION...]
 * FILE (Lua source) first stands in for the installer's host functions.
 * Each CHUNK is loaded (binary chunks only) and run; each FUNCTION must then
 * be a global function. Prints one line per failure; exit code 1 on any. */
#include <stdio.h>
#include <string.h>

#include "lauxlib.h"
#include "lua.h"
#include "lualib.h"

int main(int argc, char **argv) {
  lua_State *L = luaL_newstate();
  int failures = 0, functions = 0;
  luaL_openlibs(L);
  if (sizeof(size_t) != 4) {
    printf("FAIL: not a 32-bit build\n");
    return 1;
  }
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--host") == 0 && i + 1 < argc) {
      if (luaL_dofile(L, argv[++i]) != LUA_OK) {
        printf("FAIL: %s: %s\n", argv[i], lua_tostring(L, -1));
        lua_pop(L, 1);
        ++failures;
      }
    } else if (strcmp(argv[i], "--") == 0) {
      functions = 1;
    } else if (functions) {
      lua_getglobal(L, argv[i]);
      if (!lua_isfunction(L, -1)) {
        printf("FAIL: %s is not a function\n", argv[i]);
        ++failures;
      }
      lua_pop(L, 1);
    } else if (luaL_loadfilex(L, argv[i], "b") != LUA_OK || lua_pcall(L, 0, 0, 0) != LUA_OK) {
      printf("FAIL: %s: %s\n", argv[i], lua_tostring(L, -1));
      lua_pop(L, 1);
      ++failures;
    }
  }
  lua_close(L);
  if (failures == 0) printf("ok\n");
  return failures ? 1 : 0;
}
