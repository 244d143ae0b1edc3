# Scripts are embedded as stripped Lua 5.2 chunks in the layout of the target
# that loads them; every chunk's header is checked before it is embedded.

# neb_compile_chunk(<output .luac> <source .lua>)
function(neb_compile_chunk output source)
  separate_arguments(luac UNIX_COMMAND "${NEB_LUAC}")
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${luac} -s -o ${output} ${source}
    COMMAND ${CMAKE_COMMAND} -DCHUNK=${output} -DSIZE_T=${NEB_LUA_SIZE_T}
            -P ${PROJECT_SOURCE_DIR}/cmake/check_chunk.cmake
    DEPENDS ${source} ${PROJECT_SOURCE_DIR}/cmake/check_chunk.cmake
    COMMENT "Compiling ${source}"
    VERBATIM)
endfunction()
