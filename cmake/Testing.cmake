# GoogleTest: the installed library natively, built from Debian's sources
# with the cross compiler for the win32 build.
if(LV_WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # Wine runs each test executable; the script keeps a private prefix of
  # this architecture (the 64-bit build runs under wine64).
  set(LV_WINEARCH win32 CACHE STRING "Wine prefix architecture for the tests")
  set(CMAKE_CROSSCOMPILING_EMULATOR "${PROJECT_SOURCE_DIR}/tools/wine-run.sh")
else()
  find_package(GTest REQUIRED)
  find_package(benchmark QUIET)
endif()

# lv_test_executable(name DIRS dir... LIBS lib...)
# One GoogleTest executable from every *_test.cpp in the folders; one CTest
# entry runs it (natively, or under Wine in the win32 build).
function(lv_test_executable name)
  cmake_parse_arguments(T "" "" "DIRS;LIBS" ${ARGN})
  lv_glob_sources(srcs SUFFIX _test ${T_DIRS})
  if(NOT srcs)
    return()
  endif()
  lv_glob_sources(support ${PROJECT_SOURCE_DIR}/tests/support)
  add_executable(${name} ${srcs} ${support})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE LV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

# lv_benchmark(name SOURCES f... LIBS lib...): native only; CTest runs it
# briefly so that its report shows in the test output.
function(lv_benchmark name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(LV_WIN32 OR NOT benchmark_FOUND OR NOT CMAKE_BUILD_TYPE STREQUAL "Release")
    return()
  endif()
  add_executable(${name} ${B_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark_main)
  add_test(NAME ${name} COMMAND ${name} --benchmark_min_time=0.2)
  set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS bench)
endfunction()
