# GoogleTest: the system package natively; built from /usr/src/googletest for
# the mingw targets, whose test executables then run under Wine.
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(PIXMARL_GTEST gtest gtest_main)
else()
  find_package(GTest REQUIRED)
  set(PIXMARL_GTEST GTest::gtest GTest::gtest_main)
endif()

# Tests find committed and generated fixtures through these two folders.
set(PIXMARL_TEST_DATA ${PROJECT_SOURCE_DIR}/tests/data)
set(PIXMARL_TEST_GENERATED ${CMAKE_BINARY_DIR}/fixtures)

# pixmarl_test(<name> SOURCES ... DEPENDS ...): one test executable, one ctest entry.
function(pixmarl_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} pixmarl_testsupport ${PIXMARL_GTEST})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "PIXMARL_TEST_DATA=${PIXMARL_TEST_DATA};PIXMARL_TEST_GENERATED=${PIXMARL_TEST_GENERATED}")
endfunction()
