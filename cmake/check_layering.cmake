# Fails when a logic folder includes a platform implementation or a Windows header, when
# a folder includes one above it (core < catalogue, imaging, wallpaper, desktop < app),
# or when the portable platform pieces include the logic.
set(windows_headers "windows|winreg|winuser|winbase|shellapi|shlobj|commctrl|commdlg|mmsystem|objbase")
set(violations "")

# Each logic folder with the folders it must never include.
set(above_core "catalogue|imaging|wallpaper|desktop|app")
set(above_groups "app")
set(above_app "")
set(folders core:above_core catalogue:above_groups imaging:above_groups wallpaper:above_groups
            desktop:above_groups app:above_app)

foreach(entry ${folders})
  string(REPLACE ":" ";" parts "${entry}")
  list(GET parts 0 folder)
  list(GET parts 1 forbidden_var)
  set(forbidden "${${forbidden_var}}")
  file(GLOB_RECURSE files ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.cpp)
  foreach(f ${files})
    file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      string(TOLOWER "${line}" lower)
      if(lower MATCHES "[<\"](${windows_headers})\\.h[>\"]" OR lower MATCHES "platform/(win32|memory)/")
        string(APPEND violations "  ${f}: ${line}\n")
      elseif(NOT forbidden STREQUAL "" AND lower MATCHES "[<\"](${forbidden})/")
        string(APPEND violations "  ${f}: ${line} (a folder above ${folder}/)\n")
      endif()
    endforeach()
  endforeach()
endforeach()

file(GLOB portable_files ${ROOT}/platform/*.h ${ROOT}/platform/*.cpp
                         ${ROOT}/platform/controls/*.h ${ROOT}/platform/controls/*.cpp)
foreach(f ${portable_files})
  file(STRINGS ${f} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    string(TOLOWER "${line}" lower)
    if(lower MATCHES "[<\"](${windows_headers})\\.h[>\"]" OR lower MATCHES "platform/(win32|memory)/"
       OR lower MATCHES "[<\"](core|app|wallpaper|catalogue|imaging|desktop)/")
      string(APPEND violations "  ${f}: ${line}\n")
    endif()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Layering broken: these includes are not allowed here:\n${violations}")
endif()
file(WRITE ${STAMP} "ok\n")
