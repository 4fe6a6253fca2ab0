# What `cmake --install` puts where, and the packages CPack makes from it:
# a Debian package on Linux, a zip from the Windows cross build.
include(GNUInstallDirs)

install(TARGETS cellglyph cellglyph-prepare cellglyph-render cellglyph-export
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The photo the README's first command converts, to try the programs on.
if(WIN32)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
  install(FILES ${PROJECT_SOURCE_DIR}/examples/chelsea.jpg DESTINATION examples)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/man/cellglyph.1 ${PROJECT_SOURCE_DIR}/man/cellglyph-prepare.1
                ${PROJECT_SOURCE_DIR}/man/cellglyph-render.1 ${PROJECT_SOURCE_DIR}/man/cellglyph-export.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/examples/chelsea.jpg
          DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
endif()

# Also named in cmake/debian/changelog and cmake/debian/copyright.
set(CELLGLYPH_PACKAGE_MAINTAINER "cellglyph developers <cellglyph@example.org>")

set(CPACK_PACKAGE_NAME cellglyph)
set(CPACK_PACKAGE_VENDOR "cellglyph developers")
set(CPACK_PACKAGE_CONTACT ${CELLGLYPH_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "convert pictures into Commodore 64 PETSCII screens")
# One line each in the package's description: Debian wants them within 80
# columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "cellglyph-prepare turns a picture in any common format (PNG, JPEG, GIF,"
    "BMP, TIFF, WebP and more), or a folder of them on every core, into a C64"
    "screen in one command, in one ink or in colour, in either character set,"
    "and writes it as a C64 program, assembler source, PETSCII stream, Petmate"
    "document or PNG preview."
    "cellglyph reads a 320 x 200 pixel, 1-bit uncompressed BMP and writes a"
    "1000-byte Commodore 64 screen file, choosing for every 8 x 8 cell the"
    "character with the most pixels in common, and reports how well the"
    "picture matched. cellglyph-prepare makes such a BMP from a picture in"
    "any common format (PNG, JPEG, GIF, BMP, TIFF, WebP and more), choosing"
    "the pixels cell by cell among the characters so that every cell matches"
    "exactly, and can give every cell an ink colour in a colour file."
    "cellglyph-render draws a screen file back into such a BMP, or a PNG in"
    "C64 colours, to preview the result. cellglyph-export writes a screen as"
    "a C64 program that shows it, as assembler source, as a PETSCII print"
    "stream or as a Petmate document.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # cellglyph_VERSION_ARCH.deb
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CELLGLYPH_PACKAGE_MAINTAINER})
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The programs need the C and C++ run-time libraries, the renderer libpng
  # and the picture preparer libvips. dpkg-shlibdeps (package dpkg-dev)
  # finds the exact versions; without it the versions of the oldest Debian
  # release the build is known to work on are named.
  find_program(CELLGLYPH_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(CELLGLYPH_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34)" "libstdc++6 (>= 12)"
           "libgcc-s1 (>= 3.0)" "libpng16-16 (>= 1.6.39)" "libvips42 (>= 8.14)")
  endif()
  # What Debian asks of a package beyond the installed tree (copyright file,
  # changelog, compressed manual pages) is added to the package alone, so
  # that `cmake --install` stays as it is.
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/debian/finish-package.cmake)
  set(CPACK_CELLGLYPH_DEBIAN_FILES ${PROJECT_SOURCE_DIR}/cmake/debian)
  set(CPACK_CELLGLYPH_MANDIR ${CMAKE_INSTALL_MANDIR})
  set(CPACK_CELLGLYPH_DOCDIR ${CMAKE_INSTALL_DOCDIR})
  get_target_property(cellglyph_link_options cellglyph LINK_OPTIONS)
  if("-static" IN_LIST cellglyph_link_options)
    set(CPACK_CELLGLYPH_STATIC ON)
  endif()
endif()

include(CPack)
