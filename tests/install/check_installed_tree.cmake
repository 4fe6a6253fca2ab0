# cmake -D BUILD_DIR=... -D PREFIX=... -D WORK_DIR=... -D WINDOWS=... -D RUN_PROGRAMS=...
#       -D SAMPLE=... -P check_installed_tree.cmake
#
# Installs BUILD_DIR into PREFIX (emptied first) and checks that it holds
# exactly the programs, the manual pages, the README and the example photo. With RUN_PROGRAMS
# the installed programs are run: without arguments they show their usage
# and end with 1, the sample picture goes through converter and renderer and
# back, and its screen is exported as a program; the preparer's picture of
# it converts to a screen that renders back into that very picture.

function(fail message)
  message(FATAL_ERROR "installed tree: ${message}")
endfunction()

file(REMOVE_RECURSE ${PREFIX} ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  fail("cmake --install failed (${status}):\n${output}")
endif()

if(WINDOWS)
  set(expected bin/cellglyph-export.exe bin/cellglyph-prepare.exe bin/cellglyph-render.exe
               bin/cellglyph.exe README.md examples/chelsea.jpg)
else()
  set(expected bin/cellglyph bin/cellglyph-export bin/cellglyph-prepare bin/cellglyph-render
               share/doc/cellglyph/README.md share/doc/cellglyph/examples/chelsea.jpg
               share/man/man1/cellglyph-export.1
               share/man/man1/cellglyph-prepare.1 share/man/man1/cellglyph-render.1
               share/man/man1/cellglyph.1)
endif()
file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT found)
list(SORT expected)
if(NOT found STREQUAL expected)
  fail("expected\n  ${expected}\nfound\n  ${found}")
endif()

if(NOT WINDOWS)
  foreach(page cellglyph cellglyph-prepare cellglyph-render cellglyph-export)
    file(READ ${PREFIX}/share/man/man1/${page}.1 text)
    string(FIND "${text}" ".SH EXIT STATUS" at)
    if(at LESS 0)
      fail("${page}.1 has no EXIT STATUS section")
    endif()
  endforeach()
  # The pages format without a warning where groff is at hand.
  find_program(GROFF groff)
  if(GROFF)
    foreach(page cellglyph cellglyph-prepare cellglyph-render cellglyph-export)
      execute_process(COMMAND ${GROFF} -t -man -Tutf8 -ww -z ${PREFIX}/share/man/man1/${page}.1
                      RESULT_VARIABLE status ERROR_VARIABLE warnings)
      if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
        fail("groff on ${page}.1 (${status}):\n${warnings}")
      endif()
    endforeach()
  endif()
endif()

if(NOT RUN_PROGRAMS)
  return()
endif()

set(converter ${PREFIX}/bin/cellglyph)
set(renderer ${PREFIX}/bin/cellglyph-render)
set(exporter ${PREFIX}/bin/cellglyph-export)
set(preparer ${PREFIX}/bin/cellglyph-prepare)
foreach(program ${converter} ${renderer} ${exporter} ${preparer})
  execute_process(COMMAND ${program} RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(NOT status EQUAL 1)
    fail("${program} without arguments ended with ${status}, not 1")
  endif()
endforeach()

function(run_step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    fail("${ARGN} ended with ${status}: ${errors}")
  endif()
endfunction()

file(MAKE_DIRECTORY ${WORK_DIR})
run_step(${converter} ${SAMPLE} ${WORK_DIR}/sample.bin normal 56)
run_step(${renderer} ${WORK_DIR}/sample.bin ${WORK_DIR}/preview.bmp)
run_step(${converter} ${WORK_DIR}/preview.bmp ${WORK_DIR}/back.bin normal 64)
run_step(${exporter} ${WORK_DIR}/sample.bin ${WORK_DIR}/sample.prg)
file(SIZE ${WORK_DIR}/preview.bmp size)
if(NOT size EQUAL 8062)
  fail("the preview has ${size} bytes, not 8062")
endif()
file(SHA256 ${WORK_DIR}/sample.bin first)
file(SHA256 ${WORK_DIR}/back.bin back)
if(NOT first STREQUAL back)
  fail("converting the preview gave another screen")
endif()
file(SIZE ${WORK_DIR}/sample.prg size)
if(NOT size EQUAL 1156)
  fail("the exported program has ${size} bytes, not 1156")
endif()

# The glyph method draws every cell as a character the converter matches
# exactly and gives back, so the screen renders into the same picture.
run_step(${preparer} ${SAMPLE} ${WORK_DIR}/prepared.bmp)
run_step(${converter} ${WORK_DIR}/prepared.bmp ${WORK_DIR}/prepared.bin normal 64)
run_step(${renderer} ${WORK_DIR}/prepared.bin ${WORK_DIR}/prepared-back.bmp)
file(SHA256 ${WORK_DIR}/prepared.bmp prepared)
file(SHA256 ${WORK_DIR}/prepared-back.bmp rendered)
if(NOT prepared STREQUAL rendered)
  fail("the prepared picture's screen renders into another picture")
endif()
