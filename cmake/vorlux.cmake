# vorlux_add_test(<name> SOURCES <files...> LIBS <targets...> [LOCK <resource>])
# One GoogleTest executable per call, registered with CTest test by test.
# Widget tests run offscreen; the working directory is the build tree. Tests that share a file on disk
# name it as LOCK, so that CTest never runs two of them at once.
include(GoogleTest)
function(vorlux_add_test name)
  cmake_parse_arguments(T "" "LOCK" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/test_env.cpp)
  target_compile_definitions(${name} PRIVATE VORLUX_BUILD_DIR_DEFAULT="${CMAKE_BINARY_DIR}"
                                             VORLUX_SOURCE_DIR_DEFAULT="${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
  if(T_LOCK)
    gtest_discover_tests(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" RESOURCE_LOCK ${T_LOCK}
                         DISCOVERY_TIMEOUT 60)
  else()
    gtest_discover_tests(${name} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# vorlux_add_fuzzer(<name> SOURCES <files...> LIBS <targets...>)
function(vorlux_add_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  add_dependencies(fuzzers ${name})
endfunction()
