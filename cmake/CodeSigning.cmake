# Authenticode signatures on the Windows programs and packages, made with osslsigncode by
# tools/authenticode-sign when the build is given a certificate:
#
#   -DLUMA_CODESIGN_PKCS12=<file>           the publisher's certificate and key (PKCS#12); its
#                                           password in the environment variable
#                                           LUMA_CODESIGN_PASSWORD while building
#   -DLUMA_CODESIGN_TIMESTAMP_URL=<url>     an RFC 3161 time-stamping service (optional)
#
# Without a certificate everything is built unsigned. Programs are signed in place after they
# are linked, so that the installers pack the signed files.
set(LUMA_CODESIGN_PKCS12 "" CACHE FILEPATH
  "PKCS#12 file whose certificate signs the Windows programs and installers; empty: unsigned")
set(LUMA_CODESIGN_TIMESTAMP_URL "" CACHE STRING
  "RFC 3161 time-stamping service for the signatures; empty: no time stamp")

set(LUMA_CODESIGN_SCRIPT ${PROJECT_SOURCE_DIR}/tools/authenticode-sign)
if(LUMA_CODESIGN_PKCS12)
  find_program(LUMA_OSSLSIGNCODE osslsigncode REQUIRED)
  # A change of certificate or time-stamping service signs everything again.
  set(_settings ${PROJECT_BINARY_DIR}/codesign-settings.txt)
  file(CONFIGURE OUTPUT ${_settings}
    CONTENT "${LUMA_CODESIGN_PKCS12}\n${LUMA_CODESIGN_TIMESTAMP_URL}\n")
  set(LUMA_CODESIGN_DEPENDS ${_settings} ${LUMA_CODESIGN_PKCS12} ${LUMA_CODESIGN_SCRIPT})
  # The command that signs the files named after it, in place.
  set(LUMA_CODESIGN_COMMAND sh ${LUMA_CODESIGN_SCRIPT} ${LUMA_CODESIGN_PKCS12}
    "${LUMA_CODESIGN_TIMESTAMP_URL}")
endif()

# Signs the program `target` in place once it is linked. What packs the program depends on
# luma_signed_program_depends(), so that it takes the signed file.
function(luma_sign_program target)
  if(NOT LUMA_CODESIGN_PKCS12)
    return()
  endif()
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.signed)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${LUMA_CODESIGN_COMMAND} $<TARGET_FILE:${target}>
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${target} ${LUMA_CODESIGN_DEPENDS}
    COMMENT "Signing ${target}"
    VERBATIM)
  add_custom_target(${target}-signature ALL DEPENDS ${stamp})
  set_property(GLOBAL PROPERTY LUMA_SIGNATURE_OF_${target} ${stamp})
endfunction()

# What a step that packs the program `target` depends on: the program, and its signature when
# it is signed.
function(luma_signed_program_depends out_var target)
  get_property(stamp GLOBAL PROPERTY LUMA_SIGNATURE_OF_${target})
  set(depends ${target})
  if(stamp)
    list(APPEND depends ${target}-signature ${stamp})
  endif()
  set(${out_var} ${depends} PARENT_SCOPE)
endfunction()
