# Helpers that register the two kinds of test with CTest.
#
# qiv_add_gtest(NAME SOURCES... LIBS ...)   Qt-free unit tests on GoogleTest.
# qiv_add_qttest(NAME SOURCES... LIBS ...)  window tests on QtTest, run headless; left out of
#                                           builds without Qt (QIV_FUZZ).

function(qiv_add_gtest name)
  if(NOT QIV_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

function(qiv_add_qttest name)
  if(NOT QIV_BUILD_TESTS OR NOT QIV_WITH_QT)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  qt_add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES MACOSX_BUNDLE OFF WIN32_EXECUTABLE OFF)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_QUICK_BACKEND=software"
    TIMEOUT 120)
endfunction()
