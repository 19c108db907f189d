# 32-bit Windows: the program as it ships.
set(TAPESTREL_MINGW_TRIPLE i686-w64-mingw32)
set(TAPESTREL_WINE_BITS 32)
set(CMAKE_SYSTEM_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
