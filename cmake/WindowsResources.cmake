# The icon and version information of a Windows executable, as a resource script compiled in.
function(luma_windows_resources target description)
  if(NOT WIN32)
    return()
  endif()
  set(LUMA_RC_NAME ${target})
  set(LUMA_RC_DESCRIPTION ${description})
  set(LUMA_ICON_FILE ${PROJECT_SOURCE_DIR}/src/res/icons/luma.ico)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows_resources.rc.in
    ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc APPEND PROPERTY
    OBJECT_DEPENDS ${LUMA_ICON_FILE})
endfunction()
