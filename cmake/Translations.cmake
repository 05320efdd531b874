# LUMA's catalogues, translations/luma_<language>.ts. Its texts are written in Russian; the
# catalogues give the other languages. The host's Qt Linguist tools (Debian's qt6-l10n-tools)
# serve every build, the Windows one included: a .qm file is the same on every platform.
#
#   cmake --build <dir> --target update_translations   # lupdate: the catalogues from src/
#
# The core marks its texts with LUMA_TRANSLATE_NOOP (src/texts/include/texts/translatable.h), which lupdate
# reads as QT_TRANSLATE_NOOP; locations are left out, so that edits elsewhere change nothing.
set(LUMA_TRANSLATION_FILES ${PROJECT_SOURCE_DIR}/translations/luma_en.ts)
set(LUMA_LUPDATE_OPTIONS -extensions cpp,h -tr-function-alias QT_TRANSLATE_NOOP+=LUMA_TRANSLATE_NOOP
  -locations none -source-language ru_RU)

find_program(LUMA_LUPDATE lupdate HINTS /usr/lib/qt6/bin NO_CMAKE_FIND_ROOT_PATH)
find_program(LUMA_LRELEASE lrelease HINTS /usr/lib/qt6/bin NO_CMAKE_FIND_ROOT_PATH)
if(NOT LUMA_LUPDATE OR NOT LUMA_LRELEASE)
  message(FATAL_ERROR "Qt 6's lupdate and lrelease are needed: install Debian's qt6-l10n-tools")
endif()

if(NOT TARGET update_translations)
  add_custom_target(update_translations
    COMMAND ${LUMA_LUPDATE} ${LUMA_LUPDATE_OPTIONS} ${PROJECT_SOURCE_DIR}/src -ts ${LUMA_TRANSLATION_FILES}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} VERBATIM)
endif()

# luma_add_translations(TARGET): the catalogues, compiled, in TARGET's resources under
# :/translations, where the program looks on every platform.
function(luma_add_translations target)
  set(_qm_files "")
  foreach(_ts IN LISTS LUMA_TRANSLATION_FILES)
    get_filename_component(_name ${_ts} NAME_WE)
    set(_qm ${CMAKE_CURRENT_BINARY_DIR}/translations/${_name}.qm)
    # lrelease makes no folder, and only Ninja makes an output's folder by itself.
    add_custom_command(OUTPUT ${_qm}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/translations
      COMMAND ${LUMA_LRELEASE} -silent ${_ts} -qm ${_qm}
      DEPENDS ${_ts} VERBATIM)
    list(APPEND _qm_files ${_qm})
  endforeach()
  qt_add_resources(${target} luma_catalogues PREFIX /translations
    BASE ${CMAKE_CURRENT_BINARY_DIR}/translations FILES ${_qm_files})
endfunction()
