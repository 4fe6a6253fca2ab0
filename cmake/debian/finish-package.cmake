# Run by CPack on the staged tree of the Debian package, after the install
# and before the tree is packed (CPACK_PRE_BUILD_SCRIPTS). Adds what Debian
# asks of a package and `cmake --install` does not put in place:
#   - the manual pages and the changelog compressed with gzip -9n (no name or
#     time stamp inside, so the same page always gives the same bytes);
#   - the copyright file beside the README;
#   - for a statically linked cellglyph, the lintian override saying why.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

function(fail message)
  message(FATAL_ERROR "Debian package: ${message}")
endfunction()

# The changelog's latest entry names the version being packed; a release
# without its own entry would ship the previous one's.
file(STRINGS ${CPACK_CELLGLYPH_DEBIAN_FILES}/changelog first_line LIMIT_COUNT 1)
if(NOT first_line MATCHES "^${CPACK_PACKAGE_NAME} \\(${CPACK_PACKAGE_VERSION}\\) ")
  fail("cmake/debian/changelog begins with \"${first_line}\", not with an entry for "
       "${CPACK_PACKAGE_NAME} ${CPACK_PACKAGE_VERSION}")
endif()

set(root ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc ${root}/${CPACK_CELLGLYPH_DOCDIR})

function(compress file)
  execute_process(COMMAND gzip -9nf ${file} RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    fail("gzip ${file}: ${status} ${errors}")
  endif()
endfunction()

file(GLOB pages ${root}/${CPACK_CELLGLYPH_MANDIR}/man1/*.1)
if(NOT pages)
  fail("no manual pages in ${root}/${CPACK_CELLGLYPH_MANDIR}/man1")
endif()
foreach(page IN LISTS pages)
  compress(${page})
endforeach()

file(COPY ${CPACK_CELLGLYPH_DEBIAN_FILES}/copyright ${CPACK_CELLGLYPH_DEBIAN_FILES}/changelog
     DESTINATION ${doc})
compress(${doc}/changelog)

if(CPACK_CELLGLYPH_STATIC)
  file(MAKE_DIRECTORY ${root}/share/lintian/overrides)
  file(COPY_FILE ${CPACK_CELLGLYPH_DEBIAN_FILES}/lintian-overrides
       ${root}/share/lintian/overrides/${CPACK_PACKAGE_NAME})
endif()
