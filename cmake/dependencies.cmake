# Libraries built from the Debian source packages unpacked in NEB_DEPS_DIR.

# Lua 5.2, compiled as C++ so that a script error raised inside a host
# function unwinds through C++ frames and runs their destructors.
set(NEB_LUA_SRC ${NEB_DEPS_DIR}/src/lua5.2/src)
file(GLOB NEB_LUA_SOURCES ${NEB_LUA_SRC}/*.c)
list(FILTER NEB_LUA_SOURCES EXCLUDE REGEX "/(lua|luac)\\.c$")
set_source_files_properties(${NEB_LUA_SOURCES} PROPERTIES LANGUAGE CXX)
add_library(lua STATIC ${NEB_LUA_SOURCES})
target_include_directories(lua SYSTEM PUBLIC ${NEB_LUA_SRC})
target_compile_definitions(lua PUBLIC LUA_COMPAT_ALL)
target_compile_options(lua PRIVATE -w)

# libcurl, static, TLS through Schannel (deps/build-curl.sh).
set(NEB_CURL_DIR "" CACHE PATH "libcurl built by deps/build-curl.sh for this target")
file(READ ${NEB_CURL_DIR}/link-libs.txt NEB_CURL_LINK_LIBS)
separate_arguments(NEB_CURL_LINK_LIBS UNIX_COMMAND "${NEB_CURL_LINK_LIBS}")
add_library(curl STATIC IMPORTED GLOBAL)
set_target_properties(curl PROPERTIES
  IMPORTED_LOCATION ${NEB_CURL_DIR}/lib/libcurl.a
  INTERFACE_INCLUDE_DIRECTORIES ${NEB_CURL_DIR}/include
  INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB
  INTERFACE_LINK_LIBRARIES "${NEB_CURL_LINK_LIBS}")

# The LZMA SDK's 7z decoder: archive database, coders and CRC checks.
include(${CMAKE_CURRENT_LIST_DIR}/lzma_7z_sources.cmake)
add_library(lzma_7z STATIC ${NEB_7Z_DECODER_SOURCES})
target_include_directories(lzma_7z SYSTEM PUBLIC ${NEB_7Z_SRC})
target_compile_definitions(lzma_7z PUBLIC Z7_PPMD_SUPPORT Z7_EXTRACT_ONLY)
target_compile_options(lzma_7z PRIVATE -w)
neb_optimise_for_speed(lzma_7z)
# Its callbacks (reading the archive, the heap) do not throw.
neb_c_without_unwind_tables(lzma_7z)
# The x86 branch converter keeps its encoding half, which nebpack applies to
# the payload.
set_source_files_properties(${NEB_7Z_SRC}/Bra86.c PROPERTIES COMPILE_OPTIONS -UZ7_EXTRACT_ONLY)

# The LZMA SDK's LZMA2 encoder, single-threaded so that the same input always
# packs to the same bytes (nebpack's payload).
add_library(lzma_7z_encoder STATIC
  ${NEB_7Z_SRC}/LzFind.c ${NEB_7Z_SRC}/LzFindOpt.c ${NEB_7Z_SRC}/LzmaEnc.c ${NEB_7Z_SRC}/Lzma2Enc.c)
target_compile_definitions(lzma_7z_encoder PRIVATE Z7_ST)
target_link_libraries(lzma_7z_encoder PUBLIC lzma_7z)
target_compile_options(lzma_7z_encoder PRIVATE -w)

# fmt, a small static library; spdlog formats through it (Debian's spdlog
# source ships without its bundled copy of fmt).
set(NEB_FMT_DIR ${NEB_DEPS_DIR}/src/fmtlib)
add_library(fmt STATIC ${NEB_FMT_DIR}/src/format.cc)
target_include_directories(fmt SYSTEM PUBLIC ${NEB_FMT_DIR}/include)
# Nothing formats for a locale ("{:L}"): a fixed separator keeps fmt from
# constructing std::locale, which links in every facet of the C++ library
# for both string layouts (about 400 KB).
if(NEB_SIZE_FIRST)
  target_compile_definitions(fmt PUBLIC "FMT_STATIC_THOUSANDS_SEPARATOR=','")
endif()
target_compile_options(fmt PRIVATE -w)

# spdlog, compiled: the logger core, the file sinks and the worker parts the
# registry refers to. The process never uses the library's default console
# logger, so it is left out.
set(NEB_SPDLOG_DIR ${NEB_DEPS_DIR}/src/spdlog)
add_library(spdlog STATIC
  ${NEB_SPDLOG_DIR}/src/spdlog.cpp ${NEB_SPDLOG_DIR}/src/file_sinks.cpp ${NEB_SPDLOG_DIR}/src/async.cpp)
target_include_directories(spdlog SYSTEM PUBLIC ${NEB_SPDLOG_DIR}/include)
target_compile_definitions(spdlog PUBLIC
  SPDLOG_COMPILED_LIB SPDLOG_FMT_EXTERNAL SPDLOG_DISABLE_DEFAULT_LOGGER)
target_link_libraries(spdlog PUBLIC fmt)
target_compile_options(spdlog PRIVATE -w)

# zlib (the MinGW package) and minizip's reader: the skin package is a ZIP
# archive inflated from memory.
add_library(minizip STATIC ${NEB_DEPS_DIR}/src/minizip/unzip.c ${NEB_DEPS_DIR}/src/minizip/ioapi.c)
target_include_directories(minizip SYSTEM PUBLIC ${NEB_DEPS_DIR}/src/minizip)
target_link_libraries(minizip PUBLIC z)
target_compile_options(minizip PRIVATE -w)
# The skin package's reading callbacks do not throw. The writer keeps its
# tables: nebpack's growing buffer may throw through it.
neb_c_without_unwind_tables(minizip)

# minizip's writer: nebpack packs the skin package with it.
add_library(minizip_writer STATIC ${NEB_DEPS_DIR}/src/minizip/zip.c)
target_link_libraries(minizip_writer PUBLIC minizip)
target_compile_options(minizip_writer PRIVATE -w)

# Header-only picture decoders: stb_image, from the source package libstb
# (trixie's, see deps/source-pins.txt), and nanosvg, which ships inside the
# source package libsdl2-image.
set(NEB_NANOSVG_DIR ${NEB_DEPS_DIR}/src/libsdl2-image)
set(NEB_STB_DIR ${NEB_DEPS_DIR}/src/libstb)
