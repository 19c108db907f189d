# 64-bit Windows: the same program, for running under Wine on machines whose kernel
# cannot execute 32-bit code (and so cannot run Wine's 32-bit side).
set(TAPESTREL_MINGW_TRIPLE x86_64-w64-mingw32)
set(TAPESTREL_WINE_BITS 64)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
