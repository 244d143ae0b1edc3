# The shipped 32-bit build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(NEB_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Its tests run in the 32-bit lane (tools/lane32.sh), under the lane's Wine.
get_filename_component(NEB_LANE32_WINE ${CMAKE_CURRENT_LIST_DIR}/../tools/lane32/wine ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${NEB_LANE32_WINE})
