# Fuzz targets and their replay as ordinary tests.
#
# qiv_add_fuzz_target(NAME SOURCES... LIBS ...)
#
# SOURCES hold the target's LLVMFuzzerTestOneInput. With QIV_FUZZ they become NAME_fuzz, a
# libFuzzer program; in every build with tests they also become NAME_replay, which runs the
# same entry point once on each file of fuzz/corpus/NAME and fuzz/reproducers/NAME, registered
# with CTest as fuzz_replay_NAME (label "fuzz"). Both folders must hold at least one file.

function(qiv_add_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(QIV_FUZZ)
    add_executable(${name}_fuzz ${ARG_SOURCES})
    target_link_libraries(${name}_fuzz PRIVATE ${ARG_LIBS})
    target_link_options(${name}_fuzz PRIVATE -fsanitize=fuzzer)
  endif()
  if(QIV_BUILD_TESTS)
    add_executable(${name}_replay ${ARG_SOURCES})
    target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS} qiv_fuzz_replay_main)
    add_test(NAME fuzz_replay_${name}
      COMMAND ${name}_replay ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name}
        ${PROJECT_SOURCE_DIR}/fuzz/reproducers/${name})
    set_tests_properties(fuzz_replay_${name} PROPERTIES LABELS fuzz)
  endif()
endfunction()
