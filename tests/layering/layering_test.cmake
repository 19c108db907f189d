# Runs the build's layering check on small trees of its own: a tree that keeps the order
# passes, and each include of a folder above the one it is in is refused by name.
# Called with -DCHECK=<check_layering.cmake> -DWORK=<scratch folder>.
function(make_tree root)
  file(REMOVE_RECURSE ${root})
  foreach(folder core catalogue imaging wallpaper desktop app platform)
    file(MAKE_DIRECTORY ${root}/${folder})
  endforeach()
  file(WRITE ${root}/core/options.h "#pragma once\n#include \"platform/text.h\"\n")
  file(WRITE ${root}/catalogue/list.cpp "#include \"core/options.h\"\n#include \"imaging/reader.h\"\n")
  file(WRITE ${root}/desktop/tray.cpp "#include \"wallpaper/rotation.h\"\n")
  file(WRITE ${root}/app/program.h "#include \"desktop/tray.h\"\n")
endfunction()

function(run_check root expect_failure needle)
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${root} -DSTAMP=${root}/stamp -P ${CHECK}
                  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expect_failure AND code EQUAL 0)
    message(FATAL_ERROR "the check let through: ${needle}")
  endif()
  if(NOT expect_failure AND NOT code EQUAL 0)
    message(FATAL_ERROR "the check refused an ordered tree:\n${err}")
  endif()
  if(expect_failure AND NOT err MATCHES "${needle}")
    message(FATAL_ERROR "the check failed without naming ${needle}:\n${err}")
  endif()
endfunction()

set(root ${WORK}/layering-tree)
make_tree(${root})
run_check(${root} FALSE "")

foreach(folder catalogue imaging wallpaper desktop)
  make_tree(${root})
  file(WRITE ${root}/${folder}/group.cpp "#include \"core/options.h\"\n#include \"app/program.h\"\n")
  run_check(${root} TRUE "${folder}/group.cpp")
endforeach()

make_tree(${root})
file(WRITE ${root}/core/settings.cpp "#include \"catalogue/file_list.h\"\n")
run_check(${root} TRUE "core/settings.cpp")

make_tree(${root})
file(WRITE ${root}/wallpaper/writer.cpp "#include <windows.h>\n")
run_check(${root} TRUE "wallpaper/writer.cpp")

file(REMOVE_RECURSE ${root})
