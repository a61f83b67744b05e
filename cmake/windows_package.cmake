# What Windows users get (tools/build_windows.sh): the installer
# vantrel-<version>-x64.msi, made by wixl (msitools) from
# res/windows/vantrel.wxs, and the portable copy vantrel-<version>-x64.zip
# (vantrel.exe, the licence and a short readme). Both stand in the build
# folder; both are remade whenever vantrel.exe is.
find_program(VANTREL_WIXL wixl)
find_program(VANTREL_ZIP zip)
if(NOT VANTREL_WIXL OR NOT VANTREL_ZIP)
  message(WARNING "wixl or zip is missing (tools/deps.sh windows): no installer and no portable copy")
  return()
endif()

set(stage ${PROJECT_BINARY_DIR}/package)
set(msi ${PROJECT_BINARY_DIR}/vantrel-${PROJECT_VERSION}-x64.msi)
set(zip ${PROJECT_BINARY_DIR}/vantrel-${PROJECT_VERSION}-x64.zip)
# Text files for Windows, with CR LF line ends.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/res/windows/README.txt ${stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/res/windows/vantrel.wxs ${stage}/vantrel.wxs COPYONLY)

add_custom_command(
  OUTPUT ${msi} ${zip}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vantrel> ${PROJECT_BINARY_DIR}/app/vantrel.ico ${stage}
  COMMAND ${VANTREL_WIXL} -a x64 -D Version=${PROJECT_VERSION} -o ${msi} vantrel.wxs
  COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
  COMMAND ${VANTREL_ZIP} -q -X ${zip} vantrel.exe LICENSE.txt README.txt
  WORKING_DIRECTORY ${stage}
  DEPENDS vantrel ${stage}/vantrel.wxs ${stage}/LICENSE.txt ${stage}/README.txt
  COMMENT "Making the installer and the portable copy"
  VERBATIM
)
add_custom_target(windows_packages ALL DEPENDS ${msi} ${zip})
