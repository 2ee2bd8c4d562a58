# Test helpers shared by every folder.
#
#   vorlane_add_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2)
#       A GoogleTest program run directly by CTest.
#   vorlane_add_integration_test(NAME SOURCES ... LIBS ...)
#       The same, run inside a private network namespace by scripts/netns-run
#       (loopback up, broadcasts routed to lo, fresh store, runtime and LAN folders).

if(VORLANE_TESTS)
    enable_testing()
    find_package(GTest REQUIRED)
endif()

# Tests that show forms save a picture of each into one folder, PICTURE_DIR, for anyone to look at
# what a person sees.
set(VORLANE_PICTURE_DIR ${CMAKE_BINARY_DIR}/pictures)

function(vorlane_test_target name)
    cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main GTest::gmock ${T_LIBS})
    target_compile_definitions(${name} PRIVATE PICTURE_DIR="${VORLANE_PICTURE_DIR}")
endfunction()

function(vorlane_add_test name)
    if(NOT VORLANE_TESTS)
        return()
    endif()
    vorlane_test_target(${name} ${ARGN})
    add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/scripts/isolated-run $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

function(vorlane_add_integration_test name)
    if(NOT VORLANE_TESTS)
        return()
    endif()
    vorlane_test_target(${name} ${ARGN})
    add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/scripts/netns-run $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
endfunction()

#   vorlane_add_benchmark(NAME SOURCES ... LIBS ...)
#       A Google Benchmark program, built only with VORLANE_BENCHMARKS; scripts/bench runs every one.
if(VORLANE_BENCHMARKS)
    find_package(benchmark REQUIRED)
endif()

function(vorlane_add_benchmark name)
    if(NOT VORLANE_BENCHMARKS)
        return()
    endif()
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${B_SOURCES})
    target_link_libraries(${name} PRIVATE benchmark::benchmark benchmark::benchmark_main ${B_LIBS})
    set_property(GLOBAL APPEND PROPERTY VORLANE_BENCHMARK_PROGRAMS ${name})
endfunction()
