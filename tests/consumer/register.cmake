# Included by tests/CMakeLists.txt: the installed driver as its users meet it.
#
# Both tests load the library into programs built without the sanitizers (the consumer, python3),
# which a sanitized library cannot be loaded into: the sanitizer presets leave them out.
if(CMAKE_CXX_FLAGS MATCHES "-fsanitize")
  return()
endif()

# consumer_install: `cmake --install` into a scratch prefix, then the guide's C receipt built
# against it through find_package(ZORFP) and through pkg-config, and run on the installed
# zorfp-sim.
find_program(ZORFP_PKG_CONFIG pkg-config)
if(ZORFP_PKG_CONFIG)
  add_test(NAME consumer_install
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/run_consumer.sh ${PROJECT_BINARY_DIR} ${CMAKE_CURRENT_LIST_DIR}
            ${CMAKE_CURRENT_BINARY_DIR}/consumer ${CMAKE_COMMAND} ${CMAKE_C_COMPILER})
  set_tests_properties(consumer_install PROPERTIES TIMEOUT 300 RUN_SERIAL ON)
else()
  message(STATUS "pkg-config not found: the installed-consumer test is not run")
endif()

# python_package: the Python package's tests with pytest, on the library and simulator just built.
find_program(ZORFP_PYTEST NAMES pytest-3 pytest)
if(ZORFP_PYTEST)
  add_test(NAME python_package
    COMMAND ${ZORFP_PYTEST} -q -p no:cacheprovider ${PROJECT_SOURCE_DIR}/python/tests
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}/python)
  set_tests_properties(python_package PROPERTIES ENVIRONMENT
    "ZORFP_LIBRARY=$<TARGET_FILE:ZORFPdriver>;ZORFP_SIM=$<TARGET_FILE:zorfp-sim>;ZORFP_REGISTRY=${CMAKE_CURRENT_BINARY_DIR}/registry.reg;PYTHONDONTWRITEBYTECODE=1")
else()
  message(STATUS "pytest not found: the Python package's tests are not run")
endif()
