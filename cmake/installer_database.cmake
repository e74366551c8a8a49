# The driver's installation database for the Windows build: wixl (msitools) writes ZORFPdriver.msi
# from src/setup/package/ZORFPdriver.wxs with the registry rows the generator makes from the
# interface catalogue, and gcab packs ZORFPdriver.dll into the external cabinet ZORFPdriver.cab
# (under its file key, as the database's File table names it; wixl reads the file from the copy
# there, since it takes sources relative to its working folder). Included by src/setup on Windows;
# sets ZORFP_INSTALLER_DIR where both land.

find_program(ZORFP_WIXL wixl)
find_program(ZORFP_GCAB gcab)
if(NOT ZORFP_WIXL OR NOT ZORFP_GCAB)
  message(STATUS "Installation database: off (wixl or gcab from msitools missing)")
  return()
endif()

set(ZORFP_INSTALLER_DIR ${CMAKE_CURRENT_BINARY_DIR}/package)
set(_gen ${PROJECT_SOURCE_DIR}/src/server/gen/zorfp_gen.py)
set(_catalogue ${PROJECT_SOURCE_DIR}/src/server/catalogue/zorfp.catalogue)
set(_wxs ${PROJECT_SOURCE_DIR}/src/setup/package/ZORFPdriver.wxs)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_wixl_defines -a x64 -D Platform=x64 -D Win64=yes -D TypeLibPlatform=win64 -D ProgramFiles=ProgramFiles64Folder
                    -D UpgradeCode=3F0C6A2E-8E3B-4C53-9B2C-6F1A4E0D7B64 -D ComponentGuid=9D1B7C40-2E5A-4F6B-8C3D-64A0E1F2B364)
else()
  set(_wixl_defines -a x86 -D Platform=x86 -D Win64=no -D TypeLibPlatform=win32 -D ProgramFiles=ProgramFilesFolder
                    -D UpgradeCode=3F0C6A2E-8E3B-4C53-9B2C-6F1A4E0D7B32 -D ComponentGuid=9D1B7C40-2E5A-4F6B-8C3D-64A0E1F2B332)
endif()

add_custom_command(
  OUTPUT ${ZORFP_INSTALLER_DIR}/registration.wxi
  COMMAND ${Python3_EXECUTABLE} ${_gen} wxs ${_catalogue} ${ZORFP_INSTALLER_DIR}/registration.wxi
  DEPENDS ${_gen} ${_catalogue} ${PROJECT_SOURCE_DIR}/src/server/gen/catalogue.py
  COMMENT "Generating the installation database's registry rows from the interface catalogue"
  VERBATIM)

add_custom_command(
  OUTPUT ${ZORFP_INSTALLER_DIR}/ZORFPdriver.msi
  COMMAND ${ZORFP_WIXL} ${_wixl_defines} -D Version=${PROJECT_VERSION} -D Dll=cabinet/ZORFPdriver.dll
          -I ${ZORFP_INSTALLER_DIR} -o ${ZORFP_INSTALLER_DIR}/ZORFPdriver.msi ${_wxs}
  DEPENDS ${_wxs} ${ZORFP_INSTALLER_DIR}/registration.wxi ${ZORFP_INSTALLER_DIR}/ZORFPdriver.cab
  WORKING_DIRECTORY ${ZORFP_INSTALLER_DIR}
  COMMENT "Writing the installation database ZORFPdriver.msi with wixl"
  VERBATIM)

add_custom_command(
  OUTPUT ${ZORFP_INSTALLER_DIR}/ZORFPdriver.cab
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZORFP_INSTALLER_DIR}/cabinet
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:ZORFPdriver> ${ZORFP_INSTALLER_DIR}/cabinet/ZORFPdriver.dll
  COMMAND ${ZORFP_GCAB} -c -n -z ${ZORFP_INSTALLER_DIR}/ZORFPdriver.cab ${ZORFP_INSTALLER_DIR}/cabinet/ZORFPdriver.dll
  DEPENDS ZORFPdriver
  COMMENT "Packing ZORFPdriver.dll into the cabinet ZORFPdriver.cab with gcab"
  VERBATIM)

add_custom_target(installer_database ALL
  DEPENDS ${ZORFP_INSTALLER_DIR}/ZORFPdriver.msi ${ZORFP_INSTALLER_DIR}/ZORFPdriver.cab)
