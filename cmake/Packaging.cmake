# One file for a user to install: a Debian package of the Linux programs,
# a zip of the Windows screen saver. "cpack" in a build folder makes the one
# that folder's build fills, from the install rules alone, so packaging never
# builds anything of its own.
set(PICTAVO_PACKAGE_RESOURCES ${PROJECT_SOURCE_DIR}/resources)
configure_file(${PICTAVO_PACKAGE_RESOURCES}/copyright.txt ${CMAKE_BINARY_DIR}/package/copyright @ONLY)

set(CPACK_PACKAGE_NAME pictavo)
set(CPACK_PACKAGE_VENDOR "Brackenfeld Applications")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "picture slide-show screen saver")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_VERBATIM_VARIABLES ON)
# Folders the install makes are 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

if(WIN32)
  # pictavo.scr, how to install it and the copyright notice, at the top of
  # the zip: Windows' text tools want CRLF line ends.
  configure_file(${PICTAVO_PACKAGE_RESOURCES}/windows/install.txt ${CMAKE_BINARY_DIR}/package/INSTALL.txt
    @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PICTAVO_PACKAGE_RESOURCES}/copyright.txt ${CMAKE_BINARY_DIR}/package/COPYRIGHT.txt
    @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/package/INSTALL.txt ${CMAKE_BINARY_DIR}/package/COPYRIGHT.txt
    DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME pictavo-${PROJECT_VERSION}-win64)
  else()
    set(CPACK_PACKAGE_FILE_NAME pictavo-${PROJECT_VERSION}-win32)
  endif()
else()
  include(GNUInstallDirs)
  # Manual pages and the changelog go in gzipped, without a time stamp, so
  # that the same sources always make the same package.
  find_program(PICTAVO_GZIP gzip REQUIRED)
  set(documents)
  foreach(page pictavo.1 pictavo-render.1)
    configure_file(${PICTAVO_PACKAGE_RESOURCES}/linux/${page} ${CMAKE_BINARY_DIR}/package/${page} @ONLY)
    list(APPEND documents ${CMAKE_BINARY_DIR}/package/${page}.gz)
  endforeach()
  configure_file(${PICTAVO_PACKAGE_RESOURCES}/linux/changelog ${CMAKE_BINARY_DIR}/package/changelog COPYONLY)
  list(APPEND documents ${CMAKE_BINARY_DIR}/package/changelog.gz)
  foreach(document IN LISTS documents)
    string(REGEX REPLACE "\\.gz$" "" source ${document})
    add_custom_command(OUTPUT ${document}
      COMMAND ${PICTAVO_GZIP} -9 -n -c ${source} > ${document}
      DEPENDS ${source} VERBATIM)
  endforeach()
  add_custom_target(pictavo_documents ALL DEPENDS ${documents})
  if(TARGET pictavo)
    install(FILES ${CMAKE_BINARY_DIR}/package/pictavo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  install(FILES ${CMAKE_BINARY_DIR}/package/pictavo-render.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_BINARY_DIR}/package/copyright ${CMAKE_BINARY_DIR}/package/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/pictavo)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(PICTAVO_DEB_MAINTAINER "Pictavo maintainers <pictavo@brackenfeld.invalid>"
    CACHE STRING "The Maintainer field of the Debian package")
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PICTAVO_DEB_MAINTAINER}")
  # The synopsis is CPACK_PACKAGE_DESCRIPTION_SUMMARY; this is the text below it.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pictavo shows the pictures of one folder full screen in random order,
centred on black or stretched to the screen, and brings each new picture in
with one of 43 transition effects. It reads sixteen picture formats,
among them JPEG, PNG, TIFF, BMP, PCX, TGA, WMF and EPS, and keeps settings
and a password of its own.
.
The package holds the saver, which runs on its own or inside
xscreensaver and the other Linux screen-saver hosts, and pictavo-render,
which draws its transitions and shows into PNG files without a display.")
  # Depends come from the libraries the programs link; EPS pictures want
  # Ghostscript, which the saver does without.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS ghostscript)
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS xscreensaver)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
