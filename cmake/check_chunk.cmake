# Fails the build when CHUNK is not a Lua 5.2 chunk in the layout this target
# loads: little-endian, int 4, size_t SIZE_T, instruction 4, number 8 (float).
file(READ ${CHUNK} header LIMIT 18 HEX)
set(expected "1b4c7561520001040${SIZE_T}04080019930d0a1a0a")
if(NOT header STREQUAL expected)
  message(FATAL_ERROR "${CHUNK}: chunk header ${header}, expected ${expected}")
endif()
