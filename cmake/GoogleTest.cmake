# GoogleTest: the installed package natively; built from Debian's googletest sources
# (/usr/src/googletest) when cross-compiling, so that the tests link for the target.
include(GoogleTest)
if(CMAKE_CROSSCOMPILING OR NOT EXISTS /usr/lib/x86_64-linux-gnu/libgtest.a)
  set(CITARA_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${CITARA_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  add_library(GTest::gtest_main ALIAS gtest_main)
else()
  find_package(GTest REQUIRED)
endif()

# citara_test(NAME SOURCES... LIBS ...): one test program whose cases CTest lists one by one.
function(citara_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES ENVIRONMENT "CITARA_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data")
endfunction()
