# GoogleTest from Debian's source package, built with this build's compiler so
# that the Windows targets get Windows test programs that run under Wine.
set(_gtest_src /usr/src/googletest)
if(NOT EXISTS ${_gtest_src}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources not found at ${_gtest_src}: apt-get install googletest")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
endif()
add_subdirectory(${_gtest_src} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

# Registers a test program in test-bin: each test on its own natively; the
# whole program once under Wine, where listing the tests would start it too.
function(syslens_add_gtest target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/test-bin)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES SKIP_RETURN_CODE 77)
  else()
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30)
  endif()
endfunction()
