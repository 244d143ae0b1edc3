# Programs take from beside themselves nothing that should come from the
# system folder. Apart from kernel32 (with ntdll) and the C runtime, which
# every program needs before its first instruction and which Windows always
# takes from the system folder, every system library a program links is
# imported lazily: through an import library made here, which shadows
# MinGW's own (link_directories below comes first on every link line), and
# loaded from the system folder on first use by the hook in
# base/safe_dll_search.cpp, after the library search has been restricted.
# Windows takes its KnownDLLs (user32, advapi32, shell32, ole32, ...) from
# the system folder anyway; importing them lazily as well keeps the
# libraries they in turn load (in other Windows versions, or in Wine) out of
# the program's folder too.
#
# Every executable calls neb_use_system_libraries_only(<target>) once.
# Adding a library: one more name in the list below.

set(NEB_LAZY_SYSTEM_LIBRARIES
  user32 gdi32 advapi32 shell32 ole32 oleaut32 comdlg32 shlwapi ws2_32 rpcrt4 psapi imm32
  setupapi normaliz wldap32 imagehlp msctf
  version gdiplus uxtheme dwmapi winhttp wininet urlmon crypt32 secur32 bcrypt ncrypt
  iphlpapi userenv comctl32 winmm msimg32 windowscodecs dbghelp wtsapi32 netapi32 mpr
  propsys dwrite d2d1 usp10 shcore)

# Named after the script that makes them, so a changed script makes them anew.
file(MD5 ${CMAKE_CURRENT_LIST_DIR}/make_lazy_import.sh lazy_import_script_hash)
string(SUBSTRING ${lazy_import_script_hash} 0 8 lazy_import_script_hash)
set(NEB_LAZY_IMPORT_DIR ${CMAKE_BINARY_DIR}/lazy-imports-${lazy_import_script_hash})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make_lazy_import.sh)
file(MAKE_DIRECTORY ${NEB_LAZY_IMPORT_DIR})
set(NEB_LAZY_IMPORT_LIBRARIES "")
foreach(library IN LISTS NEB_LAZY_SYSTEM_LIBRARIES)
  set(output ${NEB_LAZY_IMPORT_DIR}/lib${library}.a)
  list(APPEND NEB_LAZY_IMPORT_LIBRARIES ${output})
  if(NOT EXISTS ${output})
    execute_process(
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/make_lazy_import.sh ${NEB_TRIPLE} ${library} ${output}
      RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "could not make the lazy import library for ${library}")
    endif()
  endif()
endforeach()
link_directories(BEFORE ${NEB_LAZY_IMPORT_DIR})

function(neb_use_system_libraries_only target)
  target_link_libraries(${target} PRIVATE neb_safe_dll_search)
  neb_check_imports(${target})
endfunction()

# neb_add_windows_program(<target> [WIN32] [NARROW_MAIN] SOURCES <source>...
#                         [LIBS <library>...]): a program of the build. Its
# entry point takes the command line as UTF-16 (wmain or wWinMain, linked with
# -municode) unless NARROW_MAIN, and it takes libraries from the system folder
# only (neb_use_system_libraries_only). An uncaught exception is reported to
# the debugger output (base/terminate_handler.cpp).
function(neb_add_windows_program target)
  cmake_parse_arguments(ARG "WIN32;NARROW_MAIN" "" "SOURCES;LIBS" ${ARGN})
  set(kind)
  if(ARG_WIN32)
    set(kind WIN32)
  endif()
  add_executable(${target} ${kind} ${ARG_SOURCES})
  if(NOT ARG_NARROW_MAIN)
    target_link_options(${target} PRIVATE -municode)
  endif()
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} neb_terminate_handler)
  neb_use_system_libraries_only(${target})
endfunction()

# neb_check_imports(<target> [ALLOW <library>...]): after the link, the
# program or library is refused (tools/check_imports.py) when it imports
# directly a library other than those Windows always takes from the system
# folder (and those ALLOW names), or when a lazy-import slot does not lead to
# its load thunk. Every program and library the build links calls this,
# through neb_use_system_libraries_only or on its own.
set(NEB_DIRECT_IMPORTS KERNEL32.dll msvcrt.dll ntdll.dll)
function(neb_check_imports target)
  cmake_parse_arguments(ARG "" "" "ALLOW" ${ARGN})
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  target_link_options(${target} PRIVATE "LINKER:-Map=${map}")
  target_link_libraries(${target} PRIVATE neb_lazy_import_table_end)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
    ${NEB_LAZY_IMPORT_LIBRARIES} ${PROJECT_SOURCE_DIR}/tools/check_imports.py)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${NEB_PYTHON3} ${PROJECT_SOURCE_DIR}/tools/check_imports.py $<TARGET_FILE:${target}> ${map}
            --allow ${NEB_DIRECT_IMPORTS} ${ARG_ALLOW}
    VERBATIM)
endfunction()
