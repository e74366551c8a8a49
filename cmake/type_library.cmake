# The type library ZORFP on Windows, from the interface catalogue: the generator writes its IDL,
# widl compiles that into zorfp.tlb (the DLL's resource TYPELIB 1) and zorfp_h.h (the header the
# dual function tables and early-bound clients compile against), and the generator writes the
# function tables over that header. Included by src/server with ZORFP_GEN, ZORFP_GEN_INPUTS,
# ZORFP_CATALOGUE and ZORFP_GEN_DIR set.
#
# widl comes with Debian's mingw-w64-tools; oaidl.idl and stdole2.tlb with Wine (libwine-dev,
# libwine). widl writes the .tlb into its working folder whatever -o says once -h is given, so it
# runs in the output folder.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_zorfp_triplet x86_64-w64-mingw32)
  set(_zorfp_widl_arch --win64)
else()
  set(_zorfp_triplet i686-w64-mingw32)
  set(_zorfp_widl_arch --win32)
endif()
find_program(ZORFP_WIDL NAMES ${_zorfp_triplet}-widl widl REQUIRED)
find_path(ZORFP_WINE_IDL_DIR oaidl.idl PATHS /usr/include/wine/wine/windows /usr/include/wine/windows
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(ZORFP_STDOLE_DIR stdole2.tlb
          PATHS /usr/lib/x86_64-linux-gnu/wine/x86_64-windows /usr/lib/i386-linux-gnu/wine/i386-windows
                /usr/lib/wine/x86_64-windows /usr/lib/wine/i386-windows
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)

add_custom_command(
  OUTPUT ${ZORFP_GEN_DIR}/zorfp.idl
  COMMAND ${Python3_EXECUTABLE} ${ZORFP_GEN} idl ${ZORFP_CATALOGUE} ${ZORFP_GEN_DIR}/zorfp.idl
  DEPENDS ${ZORFP_GEN_INPUTS}
  COMMENT "Generating the type library's IDL from the interface catalogue"
  VERBATIM)

add_custom_command(
  OUTPUT ${ZORFP_GEN_DIR}/zorfp.tlb ${ZORFP_GEN_DIR}/zorfp_h.h
  COMMAND ${ZORFP_WIDL} ${_zorfp_widl_arch} -I ${ZORFP_WINE_IDL_DIR} -L ${ZORFP_STDOLE_DIR}
          -t -h -H zorfp_h.h -o zorfp.tlb zorfp.idl
  COMMAND ${Python3_EXECUTABLE} ${ZORFP_GEN} tlbflags ${ZORFP_CATALOGUE} ${ZORFP_GEN_DIR}/zorfp.tlb
  DEPENDS ${ZORFP_GEN_DIR}/zorfp.idl ${ZORFP_GEN_INPUTS}
  WORKING_DIRECTORY ${ZORFP_GEN_DIR}
  COMMENT "Compiling the type library ZORFP with widl"
  VERBATIM)

add_custom_command(
  OUTPUT ${ZORFP_GEN_DIR}/dual_tables.cpp
  COMMAND ${Python3_EXECUTABLE} ${ZORFP_GEN} vtables ${ZORFP_CATALOGUE} ${ZORFP_GEN_DIR}/dual_tables.cpp
  DEPENDS ${ZORFP_GEN_INPUTS}
  COMMENT "Generating the dual interfaces' function tables from the interface catalogue"
  VERBATIM)
