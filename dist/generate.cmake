# Writes what is generated from a program's own help at build time:
#   cmake -DPROGRAM=... -DNAME=zr3|zr3tool -DSOURCE=dist -DOUT=folder -P generate.cmake
# zr3: the manual page zr3.1 (help2man, with the commands section zr3 writes from its
# subcommands), and the bash and zsh completions. zr3tool: its manual page.
cmake_minimum_required(VERSION 3.25)

function(run_to_file output)
  execute_process(COMMAND ${ARGN} OUTPUT_FILE ${output} RESULT_VARIABLE status
                  ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${status}): ${errors}")
  endif()
endfunction()

# help2man reads the program's --help and --version; no display is needed for either. In a
# sanitizer build the leak check belongs to the tests, not to the writing of a manual page.
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{ASAN_OPTIONS} "$ENV{ASAN_OPTIONS}:detect_leaks=0")
set(include ${OUT}/${NAME}.h2m)
if(NAME STREQUAL "zr3")
  run_to_file(${OUT}/commands.h2m ${PROGRAM} generate man-commands)
  file(READ ${OUT}/commands.h2m commands)
  file(READ ${SOURCE}/man/zr3.h2m fixed)
  file(WRITE ${include} "${fixed}\n${commands}")
  run_to_file(${OUT}/zr3.bash ${PROGRAM} generate bash)
  run_to_file(${OUT}/_zr3 ${PROGRAM} generate zsh)
  set(name "inspect and edit ZR3 level files")
else()
  configure_file(${SOURCE}/man/${NAME}.h2m ${include} COPYONLY)
  set(name "editor for the level files of a tile-based role-playing game")
endif()
# The page is named after the command, whatever the program calls itself in --version.
execute_process(COMMAND ${PROGRAM} --version OUTPUT_VARIABLE version_text RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version_text MATCHES "([0-9]+\\.[0-9]+\\.[0-9]+)")
  message(FATAL_ERROR "${PROGRAM} --version failed (${status}): ${version_text}")
endif()
set(version "${NAME} ${CMAKE_MATCH_1}")
# Run by its bare name, so that the usage lines name the program and not the build folder.
get_filename_component(folder ${PROGRAM} DIRECTORY)
set(ENV{PATH} "${folder}:$ENV{PATH}")
run_to_file(${OUT}/help2man.log help2man --no-info --section=1 --name=${name}
            --version-string=${version}
            --include=${include} --output=${OUT}/${NAME}.1 ${NAME})
