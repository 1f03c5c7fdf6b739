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

# Tests find committed fixtures in tests/data and generated ones in one folder
# that every build shares (tools/make-fixtures fills it; the Wine run reads the
# same files through Wine's Z: drive).
set(PIXMARL_TEST_DATA ${PROJECT_SOURCE_DIR}/tests/data)
set(PIXMARL_TEST_GENERATED ${PROJECT_SOURCE_DIR}/build/fixtures CACHE PATH "Generated test fixtures")

# What every test finds in its environment: the fixture folders, and the leak
# suppressions of the sanitizer suite.
set(PIXMARL_TEST_ENVIRONMENT
  PIXMARL_TEST_DATA=${PIXMARL_TEST_DATA}
  PIXMARL_TEST_GENERATED=${PIXMARL_TEST_GENERATED}
  LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp)

# Every tests/<layer>/**/<name>_test.cpp becomes its own executable,
# test_<layer>_<name>, and its own ctest entry, so one broken file never hides
# the others.
function(pixmarl_layer_tests layer)
  file(GLOB_RECURSE tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(source ${tests})
    get_filename_component(stem ${source} NAME_WE)
    string(REGEX REPLACE "_test$" "" stem ${stem})
    set(name test_${layer}_${stem})
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE pixmarl_all pixmarl_testsupport ${PIXMARL_GTEST})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${PIXMARL_TEST_ENVIRONMENT}")
  endforeach()
endfunction()
