# Shared part of the cross builds for Windows with mingw-w64 (posix threads).
# The including file sets TAPESTREL_MINGW_TRIPLE, TAPESTREL_WINE_BITS and
# CMAKE_SYSTEM_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TAPESTREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAPESTREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAPESTREL_MINGW_TRIPLE}-windres)

get_filename_component(_tapestrel_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${TAPESTREL_MINGW_TRIPLE} "${_tapestrel_root}/build/deps/${TAPESTREL_MINGW_TRIPLE}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine through this wrapper, with the loader and prefix of their kind.
set(CMAKE_CROSSCOMPILING_EMULATOR "${_tapestrel_root}/scripts/wine-exec;${TAPESTREL_WINE_BITS}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
