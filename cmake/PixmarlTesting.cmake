# The tests' own code builds for a quick build in every optimised
# configuration: -Og (with line tables where the configuration keeps debug
# information) takes about a third of the time of -O2 -g, while the library
# under test keeps the configuration's optimisation.
function(pixmarl_quick_test_code)
  foreach(target ${ARGN})
    target_compile_options(${target} PRIVATE $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-Og>
                                             $<$<CONFIG:RelWithDebInfo>:-g1>)
  endforeach()
endfunction()

# GoogleTest: the system package natively; built from /usr/src/googletest for
# the mingw targets, whose test executables then run under Wine.
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  pixmarl_quick_test_code(gtest)
  set(PIXMARL_GTEST gtest)
else()
  find_package(GTest REQUIRED)
  set(PIXMARL_GTEST GTest::gtest)
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

# The suite names a test source declares (TEST, TEST_F, TEST_P, TYPED_TEST and
# TYPED_TEST_P), read from the text so that listing them never runs the
# executable (a cross build could only run it under Wine).
function(pixmarl_declared_suites out)
  set(suites)
  set(macro "^[ \t]*(TEST|TEST_F|TEST_P|TYPED_TEST|TYPED_TEST_P)[ \t]*\\([ \t]*([A-Za-z_][A-Za-z0-9_]*)")
  foreach(source ${ARGN})
    file(STRINGS ${source} lines REGEX "${macro}")
    foreach(line ${lines})
      string(REGEX MATCH "${macro}" ignored "${line}")
      list(APPEND suites ${CMAKE_MATCH_2})
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  set(${out} ${suites} PARENT_SCOPE)
endfunction()

# tests/<layer>/**/*_test.cpp become one executable per layer, test_<layer>,
# so each build compiles and links a handful of programs rather than one per
# file. ctest still lists one entry per suite (<layer>.<Suite>), so one broken
# suite never hides the others, and a last entry (<layer>.unlisted) fails when
# the executable holds a test that no scanned suite selects. Sources named
# *_win32_test.cpp build only for Windows, *_linux_test.cpp only natively.
function(pixmarl_layer_tests layer folder)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*_test.cpp)
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_linux_test\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32_test\\.cpp$")
  endif()
  if(NOT sources)
    return()
  endif()
  set(name test_${layer})
  pixmarl_keep_windows_sources_apart(${sources})
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE pixmarl_all pixmarl_testsupport pixmarl_testmain ${PIXMARL_GTEST})
  pixmarl_quick_test_code(${name})

  pixmarl_declared_suites(suites ${sources})
  set(filters)
  foreach(suite ${suites})
    # Plain and fixture tests, value-parameterised (Prefix/Suite.Test/N) and
    # typed ones (Suite/N.Test).
    set(filter "${suite}.*:*/${suite}.*:${suite}/*.*")
    list(APPEND filters ${filter})
    add_test(NAME ${layer}.${suite} COMMAND ${name} --gtest_filter=${filter})
    set_tests_properties(${layer}.${suite} PROPERTIES ENVIRONMENT "${PIXMARL_TEST_ENVIRONMENT}")
  endforeach()
  list(JOIN filters ":" every_suite)
  add_test(NAME ${layer}.unlisted COMMAND ${name} --gtest_list_tests --gtest_filter=-${every_suite})
  # The listing names a suite on a line of its own ending in a dot.
  set_tests_properties(${layer}.unlisted PROPERTIES FAIL_REGULAR_EXPRESSION "(^|\n)[A-Za-z_][^ \n]*\\.\r?\n")
endfunction()
