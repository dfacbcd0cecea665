# The application icon as 16x16 and 32x32 PNGs for the desktop, made at build
# time by a small tool from the same code that draws the window's icon.
add_executable(tavo_make_app_icons ${CMAKE_SOURCE_DIR}/app/tools/make_app_icons.cpp)
target_link_libraries(tavo_make_app_icons PRIVATE tavo_icon Qt6::Gui)

set(TAVO_ICON_OUT ${CMAKE_BINARY_DIR}/app-icons)
add_custom_command(
  OUTPUT ${TAVO_ICON_OUT}/16x16/tavoico.png ${TAVO_ICON_OUT}/32x32/tavoico.png
  COMMAND tavo_make_app_icons ${TAVO_ICON_OUT}
  DEPENDS tavo_make_app_icons
  COMMENT "Drawing the application icon")
add_custom_target(tavo_app_icons ALL
  DEPENDS ${TAVO_ICON_OUT}/16x16/tavoico.png ${TAVO_ICON_OUT}/32x32/tavoico.png)

foreach(size 16x16 32x32)
  install(FILES ${TAVO_ICON_OUT}/${size}/tavoico.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}/apps)
endforeach()
