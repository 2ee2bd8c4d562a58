# Fuzz targets, built with clang's libFuzzer in a build folder of their own (scripts/fuzz).
#
#   vorlane_add_fuzz_target(NAME SOURCES a.cpp LIBS lib1 lib2 CORPUS corpus/dir)
#       A libFuzzer program whose LLVMFuzzerTestOneInput feeds one decoder; CORPUS holds its seed
#       inputs (small files checked into the tree). Built only with VORLANE_FUZZ.
#
# With VORLANE_FUZZ every object is compiled with coverage instrumentation, so that the fuzzer sees the
# paths taken inside the libraries too; `fuzz-targets.txt` in the build folder lists each target with
# its corpus for scripts/fuzz, and the target `fuzz_targets` builds them all and nothing else.

option(VORLANE_FUZZ "Build the fuzz targets (clang and libFuzzer)" OFF)

if(VORLANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VORLANE_FUZZ needs clang (libFuzzer): configure with CXX=clang++")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
    add_custom_target(fuzz_targets)
endif()

function(vorlane_add_fuzz_target name)
    if(NOT VORLANE_FUZZ)
        return()
    endif()
    cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_targets ${name})
    set_property(GLOBAL APPEND PROPERTY VORLANE_FUZZ_TARGETS
                 "${name}\t$<TARGET_FILE:${name}>\t${CMAKE_CURRENT_SOURCE_DIR}/${F_CORPUS}")
endfunction()
