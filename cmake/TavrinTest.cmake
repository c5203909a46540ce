# tavrin_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One test program per folder; every one runs offscreen so ctest needs no display.
# A test program is named test_ and its folder below tests/ with _ for /
# (tests/platform/text -> test_platform_text), so `ctest -R test_platform` finds a subsystem.
function(tavrin_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tavrin_common tavrin_test_support ${T_LIBS}
                        GTest::gtest GTest::gmock Qt6::Test Qt6::Widgets)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0"
    TIMEOUT 600)
endfunction()
