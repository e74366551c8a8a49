# With MinGW-w64 installed, the Linux build also cross-builds this source tree for Windows, 64-bit
# and 32-bit (ZORFPdriver.dll, zorfp.exe and the programs of the Wine suite), each in its own
# build folder under this one. Both are sub-builds of this one: `cmake --build` runs them under
# its own job limit, and each rebuilds only what changed.
#
# Sets ZORFP_WINDOWS_BITS (the bitnesses built) and ZORFP_WINDOWS<bits>_DIR (their build folders),
# and a target windows<bits> for each.

option(ZORFP_CROSS_WINDOWS "Cross-build the Windows DLL and programs when MinGW-w64 is installed" ON)

set(ZORFP_WINDOWS_BITS "")
if(NOT ZORFP_CROSS_WINDOWS)
  return()
endif()

include(ExternalProject)
foreach(bits 64 32)
  if(bits EQUAL 64)
    set(triplet x86_64-w64-mingw32)
    set(toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-x86_64.cmake)
  else()
    set(triplet i686-w64-mingw32)
    set(toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake)
  endif()
  find_program(ZORFP_MINGW${bits}_CXX ${triplet}-g++-posix)
  find_program(ZORFP_MINGW${bits}_WIDL ${triplet}-widl)
  if(NOT ZORFP_MINGW${bits}_CXX OR NOT ZORFP_MINGW${bits}_WIDL)
    message(STATUS "Windows ${bits}-bit cross-build: off (${triplet}-g++-posix or ${triplet}-widl missing)")
    continue()
  endif()
  set(dir ${CMAKE_BINARY_DIR}/windows${bits})
  ExternalProject_Add(windows${bits}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${dir}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${toolchain} -DCMAKE_BUILD_TYPE=Release -DZORFP_BUILD_BENCH=OFF
               -DZORFP_BUILD_TESTS=${ZORFP_BUILD_TESTS}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    EXCLUDE_FROM_ALL OFF)
  list(APPEND ZORFP_WINDOWS_BITS ${bits})
  set(ZORFP_WINDOWS${bits}_DIR ${dir})
  message(STATUS "Windows ${bits}-bit cross-build: ${dir}")
endforeach()
