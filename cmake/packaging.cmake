# What `cmake --install` puts where, and the packages CPack makes of it:
#   POSIX:   bin/tarnelthc, share/man/man1/tarnelthc.1, share/doc/tarnelthc/README.md;
#            `cpack -G DEB` makes a Debian package of the same program.
#   Windows: tarnelthc.exe, README.txt, LICENSE.txt and expat's license side
#            by side;
#            `cpack -G ZIP` makes the zip handed to Windows users.
# scripts/package.sh builds both packages into dist/.
include(GNUInstallDirs)

set(TARNELTHC_MAINTAINER "TarnelTools maintainers <tarnelthc@tarneltools.example>"
  CACHE STRING "The maintainer named in the Debian package and its changelog")

set(CPACK_PACKAGE_NAME tarnelthc)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TarnelTools")
set(CPACK_PACKAGE_CONTACT "${TARNELTHC_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compiler of XML library documentation into HTML Help projects")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # A flat folder: the program, and what a Windows user can open with a
  # double click beside it.
  install(TARGETS tarnelthc RUNTIME DESTINATION . COMPONENT program)

  set(TARNELTHC_EXPAT_LICENSE "" CACHE FILEPATH
    "expat's license file (COPYING), shipped with a program that has expat linked in")

  # Text files with CRLF line ends, so every Windows editor shows their lines.
  function(tarnelthc_windows_text source name)
    file(READ "${source}" text)
    string(REPLACE "\r\n" "\n" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${CMAKE_BINARY_DIR}/windows-text/${name}" "${text}")
    set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
    install(FILES "${CMAKE_BINARY_DIR}/windows-text/${name}" DESTINATION . COMPONENT program)
  endfunction()
  tarnelthc_windows_text("${CMAKE_SOURCE_DIR}/README.md" README.txt)
  tarnelthc_windows_text("${CMAKE_SOURCE_DIR}/LICENSE" LICENSE.txt)
  if(TARNELTHC_EXPAT_LICENSE)
    tarnelthc_windows_text("${TARNELTHC_EXPAT_LICENSE}" expat-COPYING.txt)
  endif()

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "tarnelthc-${PROJECT_VERSION}-windows-x64")
else()
  install(TARGETS tarnelthc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)

  # The manual page is written by hand; only the version is filled in.
  configure_file(${CMAKE_SOURCE_DIR}/doc/tarnelthc.1.in ${CMAKE_BINARY_DIR}/man/tarnelthc.1 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/man/tarnelthc.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT manual)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT program)

  # Debian's layout differs from a plain install: the manual page and the
  # changelog compressed, a copyright file beside them. These files are
  # installed only for the package (component "debian"), never by a plain
  # `cmake --install`.
  configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/changelog.in
    ${CMAKE_BINARY_DIR}/debian-source/changelog @ONLY)
  # The copyright file carries LICENSE in Debian's form: the holder line as
  # "Copyright:", the permission text indented, its blank lines as " .".
  file(READ ${CMAKE_SOURCE_DIR}/LICENSE TARNELTHC_LICENSE)
  set_property(DIRECTORY "${CMAKE_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    "${CMAKE_SOURCE_DIR}/LICENSE")
  string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${TARNELTHC_LICENSE}")
  set(TARNELTHC_COPYRIGHT "${CMAKE_MATCH_1}")
  string(FIND "${TARNELTHC_LICENSE}" "Permission is hereby granted" permission)
  string(SUBSTRING "${TARNELTHC_LICENSE}" ${permission} -1 TARNELTHC_LICENSE_TEXT)
  string(STRIP "${TARNELTHC_LICENSE_TEXT}" TARNELTHC_LICENSE_TEXT)
  string(REPLACE "\n\n" "\n.\n" TARNELTHC_LICENSE_TEXT "${TARNELTHC_LICENSE_TEXT}")
  string(REPLACE "\n" "\n " TARNELTHC_LICENSE_TEXT " ${TARNELTHC_LICENSE_TEXT}")
  configure_file(${CMAKE_SOURCE_DIR}/packaging/debian/copyright.in
    ${CMAKE_BINARY_DIR}/debian-source/copyright @ONLY)
  set(DEBIAN_DIR ${CMAKE_BINARY_DIR}/debian)
  # -n: no name or time stamp inside, so the same sources give the same bytes.
  add_custom_command(OUTPUT ${DEBIAN_DIR}/tarnelthc.1.gz ${DEBIAN_DIR}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/man/tarnelthc.1 ${DEBIAN_DIR}/tarnelthc.1
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/debian-source/changelog ${DEBIAN_DIR}/changelog
    COMMAND gzip -9 -n -f ${DEBIAN_DIR}/tarnelthc.1 ${DEBIAN_DIR}/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/man/tarnelthc.1 ${CMAKE_BINARY_DIR}/debian-source/changelog
    VERBATIM)
  add_custom_target(debian_files ALL DEPENDS ${DEBIAN_DIR}/tarnelthc.1.gz ${DEBIAN_DIR}/changelog.gz)
  install(FILES ${DEBIAN_DIR}/tarnelthc.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES ${DEBIAN_DIR}/changelog.gz ${CMAKE_BINARY_DIR}/debian-source/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)

  # What a plain strip leaves and Debian's own packaging removes: the
  # compilers' version notes.
  if(CMAKE_STRIP)
    install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tarnelthc\" COMMAND_ERROR_IS_FATAL ANY)"
      COMPONENT debian EXCLUDE_FROM_ALL)
  endif()

  set(CPACK_GENERATOR DEB)
  # One package of the program and the Debian files (the uncompressed manual
  # page stays out).
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENTS_ALL program debian)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_NAME tarnelthc)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The long description; the summary above is its first line.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "TarnelTHC reads an XML document project that describes programming-language
libraries (commands, classes and methods, structures, constants, macros,
project texts, an inline markup and a word catalog) and writes a complete
help build into one folder: the HTML pages, the HTML Help project
document.hhp, the contents toc.hhc, the keyword index idx.hhk and the
numbered images, ready for an HTML Help compiler such as chmcmd.")
  # The libraries the program links (expat, the C and C++ runtimes) become
  # dependencies through dpkg-shlibdeps, with the versions this build needs.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS fp-utils)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
