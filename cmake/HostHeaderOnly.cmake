# CLI11 and nlohmann-json for a cross build. Their package files put /usr/include on the include
# path, where the host's C library would shadow MinGW's; a folder holding links to just their
# header folders takes its place.
set(_luma_host_headers ${CMAKE_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${_luma_host_headers})

function(luma_host_header_library target header_folder probe)
  find_path(_luma_found ${header_folder}/${probe} PATHS /usr/include NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
  if(NOT _luma_found)
    message(FATAL_ERROR "${header_folder}/${probe} not found in /usr/include")
  endif()
  file(CREATE_LINK ${_luma_found}/${header_folder} ${_luma_host_headers}/${header_folder} SYMBOLIC)
  unset(_luma_found CACHE)
  if(NOT TARGET ${target})
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    target_include_directories(${target} SYSTEM INTERFACE ${_luma_host_headers})
  endif()
endfunction()

luma_host_header_library(CLI11::CLI11 CLI CLI.hpp)
luma_host_header_library(nlohmann_json::nlohmann_json nlohmann json.hpp)
