# What `cmake --install` puts in place on Linux, and the .deb and .tar.gz made from it (cpack):
# the library with its soname, the C headers, the CMake package (find_package(ZORFP) giving
# ZORFP::driver), zorfp.pc, the zorfp and zorfp-sim programs, their manual pages and the guides,
# and the Python package. Components: runtime (what a point-of-sale program needs) and
# development (headers, link name, package files).

include(CMakePackageConfigHelpers)

install(TARGETS zorfp zorfp-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)

set(ZORFP_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZORFP)
install(EXPORT ZORFPTargets NAMESPACE ZORFP:: DESTINATION ${ZORFP_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/ZORFPConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/ZORFPConfig.cmake INSTALL_DESTINATION ${ZORFP_CMAKE_DIR})
# Same major number, same C API: what the soname promises.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/ZORFPConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/ZORFPConfig.cmake ${PROJECT_BINARY_DIR}/package/ZORFPConfigVersion.cmake
        DESTINATION ${ZORFP_CMAKE_DIR} COMPONENT development)

# The .pc file finds the prefix from where it lies, so that an unpacked .tar.gz works wherever it is.
set(ZORFP_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH ZORFP_PC_TO_PREFIX /${ZORFP_PC_DIR} /)
string(REGEX REPLACE "/$" "" ZORFP_PC_TO_PREFIX "${ZORFP_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/zorfp.pc.in ${PROJECT_BINARY_DIR}/package/zorfp.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/zorfp.pc DESTINATION ${ZORFP_PC_DIR} COMPONENT development)

install(FILES ${PROJECT_SOURCE_DIR}/docs/man/zorfp.1 ${PROJECT_SOURCE_DIR}/docs/man/zorfp-sim.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/user-guide.md
              ${PROJECT_SOURCE_DIR}/docs/simulator.md ${PROJECT_SOURCE_DIR}/docs/decisions.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)
install(FILES ${PROJECT_SOURCE_DIR}/tools/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME zorfp.md
        COMPONENT runtime)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/members DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)

# The Python package, where Debian's python3 looks; `pip install ./python` serves other layouts.
set(ZORFP_PYTHON_DIR lib/python3/dist-packages CACHE STRING "Where the Python package zorfp is installed")
install(DIRECTORY ${PROJECT_SOURCE_DIR}/python/zorfp DESTINATION ${ZORFP_PYTHON_DIR} COMPONENT runtime
        PATTERN __pycache__ EXCLUDE)

set(CPACK_PACKAGE_NAME zorfp)
set(CPACK_PACKAGE_VENDOR "ZORFP")
set(CPACK_PACKAGE_CONTACT "ZORFP maintainers <zorfp@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fiscal printer driver: library, C API, command-line client and simulator")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB TGZ)
set(CPACK_PACKAGE_FILE_NAME zorfp-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)  # and the ldconfig trigger that goes with it
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3")
include(CPack)
