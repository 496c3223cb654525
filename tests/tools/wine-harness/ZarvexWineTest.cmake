# zarvex_wine_test(<name> SOURCES <files...> [LIBS <libs...>] [SHARDS <n>] [COST <n>])
#
# A Linux test binary that runs Windows programs under Wine through the Wine
# harness (tests/tools/wine-harness), against fake modems. Its cases share one Wine
# prefix and server, so the binary is one CTest test (label wine), or <n>
# tests that each run a share of its cases (GoogleTest's sharding) in
# parallel, each with a prefix of its own. COST as for zarvex_test: the
# shards of a binary whose cases take most of a minute start first.
#
# The tests find the Windows programs in the Windows build named by the cache
# variable ZARVEX_WINDOWS_BUILD (passed to them as the environment variable of
# that name). Without it the binary is built but no test is registered: the
# win stage of scripts/test sets it and builds the target wine_tests, which
# holds every such binary.
include_guard(GLOBAL)

set(ZARVEX_WINDOWS_BUILD "" CACHE PATH
  "The Windows build tree whose programs the wine-labelled tests run under Wine")

function(zarvex_wine_test name)
  cmake_parse_arguments(T "" "SHARDS;COST" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE zarvex_wine_harness ${T_LIBS} GTest::gtest_main Threads::Threads)
  set_property(GLOBAL APPEND PROPERTY ZARVEX_WINE_TEST_TARGETS ${name})
  if(NOT ZARVEX_WINDOWS_BUILD)
    return()
  endif()
  if(NOT T_SHARDS)
    set(T_SHARDS 1)
  endif()
  if(NOT T_COST)
    set(T_COST 0)
  endif()
  math(EXPR last "${T_SHARDS} - 1")
  foreach(shard RANGE ${last})
    set(test ${name})
    if(T_SHARDS GREATER 1)
      set(test ${name}_${shard})
    endif()
    add_test(NAME ${test} COMMAND ${name})
    set_tests_properties(${test} PROPERTIES
      LABELS wine
      COST ${T_COST}
      TIMEOUT 900
      ENVIRONMENT "ZARVEX_WINDOWS_BUILD=${ZARVEX_WINDOWS_BUILD};GTEST_TOTAL_SHARDS=${T_SHARDS};GTEST_SHARD_INDEX=${shard}")
  endforeach()
endfunction()

# The target that builds every Wine test binary and the standalone fakes,
# made once the whole tree is read.
function(zarvex_wine_tests_target)
  get_property(targets GLOBAL PROPERTY ZARVEX_WINE_TEST_TARGETS)
  add_custom_target(wine_tests)
  add_dependencies(wine_tests fake_modem ${targets})
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL zarvex_wine_tests_target)
