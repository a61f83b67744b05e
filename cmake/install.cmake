# What `cmake --install` puts under its prefix: the program, its menu entry,
# its icon in the desktop's theme, its AppStream metadata and the licence.
# The help page and the advert page are inside the executable already.
include(GNUInstallDirs)

set(VANTREL_APP_ID org.vantrel.Vantrel)
set(VANTREL_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/res/desktop)

# The icon as the window shows it (res/icons.cpp), written as a PNG by a
# small tool of our own, so the two never differ.
add_executable(vantrel_icon_png ${PROJECT_SOURCE_DIR}/res/icon_png.cpp ${PROJECT_SOURCE_DIR}/res/icons.cpp)
target_include_directories(vantrel_icon_png PRIVATE ${PROJECT_SOURCE_DIR})
set(VANTREL_ICON_PNG ${PROJECT_BINARY_DIR}/desktop/${VANTREL_APP_ID}.png)
add_custom_command(
  OUTPUT ${VANTREL_ICON_PNG}
  COMMAND vantrel_icon_png ${VANTREL_ICON_PNG}
  DEPENDS vantrel_icon_png
  COMMENT "Writing the application icon as PNG"
  VERBATIM
)
add_custom_target(vantrel_desktop_icon ALL DEPENDS ${VANTREL_ICON_PNG})

# The release entry carries the version of the top project() call.
configure_file(${VANTREL_DESKTOP_DIR}/${VANTREL_APP_ID}.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/desktop/${VANTREL_APP_ID}.metainfo.xml @ONLY)

install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VANTREL_DESKTOP_DIR}/${VANTREL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VANTREL_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
install(FILES ${PROJECT_SOURCE_DIR}/res/pages/vantrel-logo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME ${VANTREL_APP_ID}.svg)
install(FILES ${PROJECT_BINARY_DIR}/desktop/${VANTREL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
