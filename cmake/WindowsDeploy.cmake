# Windows: the Qt libraries, plugins and Japanese translations the programs need are copied beside
# them at install time by Qt's windeployqt; the other libraries (SQLite, ...) by vcpkg
# (X_VCPKG_APPLOCAL_DEPS_INSTALL in the windows-msvc preset).
set(quarnel_qt_bins)
if(TARGET Qt6::qmake)
  get_target_property(quarnel_qmake Qt6::qmake IMPORTED_LOCATION)
  if(quarnel_qmake)
    get_filename_component(quarnel_qt_bin "${quarnel_qmake}" DIRECTORY)
    list(APPEND quarnel_qt_bins "${quarnel_qt_bin}")
  endif()
endif()
if(QT6_INSTALL_PREFIX)
  list(APPEND quarnel_qt_bins "${QT6_INSTALL_PREFIX}/bin" "${QT6_INSTALL_PREFIX}/tools/Qt6/bin")
endif()
find_program(QUARNEL_WINDEPLOYQT windeployqt HINTS ${quarnel_qt_bins} REQUIRED)

foreach(program quarnel quarnel-dump)
  if(TARGET ${program})
    install(CODE "
      execute_process(
        COMMAND \"${QUARNEL_WINDEPLOYQT}\" --translations ja --no-system-d3d-compiler
                --no-opengl-sw \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${program}>\"
        COMMAND_ERROR_IS_FATAL ANY)")
  endif()
endforeach()
