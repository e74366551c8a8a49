# nlohmann-json (Debian's nlohmann-json3-dev, header-only) writes the simulator's state dump and the
# zorfp client's JSON output; the driver library itself uses none. Link the target zorfp_json.

add_library(zorfp_json INTERFACE)
if(CMAKE_CROSSCOMPILING)
  # The cross toolchain searches only its own root, and the host's include folder must not reach
  # it (it holds the host's C library too): a folder of our own holds the library alone.
  find_path(ZORFP_JSON_HOST_INCLUDE nlohmann/json.hpp NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(ZORFP_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
  file(MAKE_DIRECTORY ${ZORFP_JSON_INCLUDE})
  file(CREATE_LINK ${ZORFP_JSON_HOST_INCLUDE}/nlohmann ${ZORFP_JSON_INCLUDE}/nlohmann SYMBOLIC)
  target_include_directories(zorfp_json SYSTEM INTERFACE ${ZORFP_JSON_INCLUDE})
else()
  find_package(nlohmann_json 3.11 REQUIRED)
  target_link_libraries(zorfp_json INTERFACE nlohmann_json::nlohmann_json)
endif()
