# Installation under a prefix (cmake --install) and the Debian package (cpack).
#
# Installed files, under the prefix:
#   bin/quarnel, bin/quarnel-dump
#   share/applications/<id>.desktop, share/metainfo/<id>.metainfo.xml
#   share/icons/hicolor/<n>x<n>/apps/<id>.png
#   share/man/man1/quarnel.1.gz, share/man/man1/quarnel-dump.1.gz
#   share/quarnel/demo.db, share/doc/quarnel/copyright

include(GNUInstallDirs)

# The application's identity on the desktop: names the desktop entry, the icon and the metainfo,
# and is the application ID the program gives the window system.
set(QUARNEL_APP_ID io.github.quarnel.Quarnel)
set(QUARNEL_HOMEPAGE https://github.com/quarnel/quarnel)
set(QUARNEL_SCREENSHOT_URL https://raw.githubusercontent.com/quarnel/quarnel/main/docs/installed.png)
set(QUARNEL_ICON_SIZES 48 128 256)
# Where the Debian package puts the demo database; the manual pages name it.
set(QUARNEL_PACKAGE_PREFIX /usr)
set(QUARNEL_MAN_DEMO_DB ${QUARNEL_PACKAGE_PREFIX}/${CMAKE_INSTALL_DATADIR}/quarnel/demo.db)

set(QUARNEL_PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
target_compile_definitions(quarnel PRIVATE QUARNEL_APP_ID="${QUARNEL_APP_ID}")

install(TARGETS quarnel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quarnel-dump)
  install(TARGETS quarnel-dump RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# Desktop entry and AppStream metainfo.
configure_file(packaging/quarnel.desktop.in ${QUARNEL_PACKAGING_DIR}/${QUARNEL_APP_ID}.desktop @ONLY)
configure_file(packaging/quarnel.metainfo.xml.in
  ${QUARNEL_PACKAGING_DIR}/${QUARNEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${QUARNEL_PACKAGING_DIR}/${QUARNEL_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUARNEL_PACKAGING_DIR}/${QUARNEL_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Icons, drawn at build time for every size of the hicolor theme we ship.
add_executable(quarnel-mkicon tools/mkicon.cpp)
target_link_libraries(quarnel-mkicon PRIVATE Qt6::Gui)
set(QUARNEL_ICONS)
foreach(size ${QUARNEL_ICON_SIZES})
  set(icon ${QUARNEL_PACKAGING_DIR}/icons/${size}x${size}/${QUARNEL_APP_ID}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUARNEL_PACKAGING_DIR}/icons/${size}x${size}
    COMMAND quarnel-mkicon ${size} ${icon}
    DEPENDS quarnel-mkicon
    COMMENT "Drawing the ${size} px icon")
  list(APPEND QUARNEL_ICONS ${icon})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(quarnel_icons ALL DEPENDS ${QUARNEL_ICONS})

# Manual pages; quarnel-dump's takes its synopsis and options from the program's --help.
set(QUARNEL_MAN_PAGES quarnel)
if(TARGET quarnel-dump)
  list(APPEND QUARNEL_MAN_PAGES quarnel-dump)
endif()
set(QUARNEL_MAN_FILES)
foreach(page ${QUARNEL_MAN_PAGES})
  set(output ${QUARNEL_PACKAGING_DIR}/man/${page}.1.gz)
  set(template ${CMAKE_SOURCE_DIR}/packaging/${page}.1.in)
  set(program_args)
  set(program_deps)
  if(page STREQUAL quarnel-dump)
    set(program_args -DPROGRAM=$<TARGET_FILE:quarnel-dump>)
    set(program_deps quarnel-dump)
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUARNEL_PACKAGING_DIR}/man
    COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${template} -DOUTPUT=${output} ${program_args}
      -DPROJECT_VERSION=${PROJECT_VERSION} -DQUARNEL_MAN_DEMO_DB=${QUARNEL_MAN_DEMO_DB}
      -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS ${template} ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake ${program_deps}
    COMMENT "Writing the manual page ${page}.1")
  list(APPEND QUARNEL_MAN_FILES ${output})
endforeach()
add_custom_target(quarnel_man_pages ALL DEPENDS ${QUARNEL_MAN_FILES})
install(FILES ${QUARNEL_MAN_FILES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# Windows: Qt's libraries beside the programs.
if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsDeploy.cmake)
endif()

# The demo database; after installation the host string sqlite:<prefix>/share/quarnel/demo.db.
install(FILES ${QUARNEL_DEMO_DB} DESTINATION ${CMAKE_INSTALL_DATADIR}/quarnel)

# The copyright file in Debian's machine-readable format, its licence text taken from LICENSE.
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE license_lines)
set(license_body)
set(license_copyright)
set(license_started FALSE)
foreach(line IN LISTS license_lines)
  if(line MATCHES "^Copyright \\(c\\) (.*)$")
    set(license_copyright ${CMAKE_MATCH_1})
    set(license_started TRUE)
  elseif(license_started AND NOT (license_body STREQUAL "" AND line STREQUAL ""))
    if(line STREQUAL "")
      string(APPEND license_body " .\n")
    else()
      string(APPEND license_body " ${line}\n")
    endif()
  endif()
endforeach()
file(WRITE ${QUARNEL_PACKAGING_DIR}/copyright.new
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: Quarnel\n"
  "Source: ${QUARNEL_HOMEPAGE}\n"
  "\n"
  "Files: *\n"
  "Copyright: ${license_copyright}\n"
  "License: MIT\n"
  "${license_body}")
configure_file(${QUARNEL_PACKAGING_DIR}/copyright.new ${QUARNEL_PACKAGING_DIR}/copyright COPYONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
install(FILES ${QUARNEL_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quarnel)

# The Debian package: cpack -G DEB in the build folder writes quarnel_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarnel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quarnel Project")
set(CPACK_PACKAGE_CONTACT "Quarnel Project")
# The first line is the package's one-line summary; the others are wrapped as dpkg shows them.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Oracle schema browser that writes DDL scripts
Quarnel is a small, fast desktop tool for looking at the tables of an
Oracle schema. It lists the user's tables, shows a table's columns and
primary key in a grid and its indexes in a tree, writes the table's DDL
script (CREATE TABLE, ALTER TABLE ... ADD PRIMARY KEY, CREATE INDEX), and
copies or saves the lists as CSV or tab-separated text. It only reads the
data dictionary and never writes to a database. Its screens are in
Japanese.

An embedded engine answers the same dictionary reads over any SQLite
file, and a demo database is included. The command quarnel-dump writes
the same texts on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX ${QUARNEL_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION database)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${QUARNEL_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found by no linker: Qt's own translations give the standard dialogs their Japanese texts, and
# the screens need a Japanese font.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-translations-l10n)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-noto-cjk)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
