# Fails when a logic folder includes a platform implementation or a Windows header,
# or when the portable platform pieces include the logic.
set(windows_headers "windows|winreg|winuser|winbase|shellapi|shlobj|commctrl|commdlg|mmsystem|objbase")
set(violations "")

file(GLOB_RECURSE logic_files
  ${ROOT}/app/*.h ${ROOT}/app/*.cpp ${ROOT}/wallpaper/*.h ${ROOT}/wallpaper/*.cpp
  ${ROOT}/catalogue/*.h ${ROOT}/catalogue/*.cpp ${ROOT}/imaging/*.h ${ROOT}/imaging/*.cpp
  ${ROOT}/desktop/*.h ${ROOT}/desktop/*.cpp)
foreach(f ${logic_files})
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    string(TOLOWER "${line}" lower)
    if(lower MATCHES "[<\"](${windows_headers})\\.h[>\"]" OR lower MATCHES "platform/(win32|memory)/")
      string(APPEND violations "  ${f}: ${line}\n")
    endif()
  endforeach()
endforeach()

file(GLOB portable_files ${ROOT}/platform/*.h ${ROOT}/platform/*.cpp
                         ${ROOT}/platform/controls/*.h ${ROOT}/platform/controls/*.cpp)
foreach(f ${portable_files})
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    string(TOLOWER "${line}" lower)
    if(lower MATCHES "[<\"](${windows_headers})\\.h[>\"]" OR lower MATCHES "platform/(win32|memory)/"
       OR lower MATCHES "[<\"](app|wallpaper|catalogue|imaging|desktop)/")
      string(APPEND violations "  ${f}: ${line}\n")
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Layering broken: these includes are not allowed here:\n${violations}")
endif()
file(WRITE ${STAMP} "ok\n")
