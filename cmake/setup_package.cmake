# ZORFPDriverSetup.exe with the real package appended, for each cross-built bitness: zorfp-pack
# adds the installation database, its cabinet and the prerequisites configuration to the image
# the Windows build made (cmake/installer_database.cmake). Included by the top level after
# cmake/windows_cross.cmake; writes build/.../setup/win<bits>/ZORFPDriverSetup.exe.

set(ZORFP_SETUP_BITS "")
find_program(ZORFP_WIXL wixl)
find_program(ZORFP_GCAB gcab)
if(NOT TARGET zorfp-pack OR NOT ZORFP_WIXL OR NOT ZORFP_GCAB)
  return()
endif()

foreach(bits IN LISTS ZORFP_WINDOWS_BITS)
  set(built ${ZORFP_WINDOWS${bits}_DIR}/src/setup)
  set(out ${CMAKE_BINARY_DIR}/setup/win${bits})
  add_custom_target(setup_package${bits} ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
    COMMAND $<TARGET_FILE:zorfp-pack> -o ${out}/ZORFPDriverSetup.exe --image ${built}/ZORFPDriverSetup.exe
            --database ${built}/package/ZORFPdriver.msi --cabinet ${built}/package/ZORFPdriver.cab
            --configuration ${PROJECT_SOURCE_DIR}/src/setup/package/prerequisites.ini
    COMMENT "Appending the installation package to ZORFPDriverSetup.exe (${bits}-bit)"
    VERBATIM)
  add_dependencies(setup_package${bits} windows${bits} zorfp-pack)
  set(ZORFP_SETUP${bits}_DIR ${out})
  list(APPEND ZORFP_SETUP_BITS ${bits})
endforeach()
