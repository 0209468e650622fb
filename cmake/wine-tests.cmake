# One virtual display and one persistent wineserver for a whole test run, as a CTest
# fixture named "wine_session". Tests run under Wine require it:
#   set_tests_properties(t PROPERTIES FIXTURES_REQUIRED wine_session)
# or call quenlar_wine_tests(t ...), which also points the run at this build tree.
# The prefix, display and state live in <build>/wine.

set(QUENLAR_WINE_SESSION ${CMAKE_CURRENT_LIST_DIR}/wine-session.sh)

add_test(NAME wine_session.start COMMAND ${QUENLAR_WINE_SESSION} start ${CMAKE_BINARY_DIR})
add_test(NAME wine_session.stop COMMAND ${QUENLAR_WINE_SESSION} stop ${CMAKE_BINARY_DIR})
# The first start creates the prefix (some 10 s, longer on a loaded machine).
set_tests_properties(wine_session.start PROPERTIES
  FIXTURES_SETUP wine_session LABELS wine TIMEOUT 300)
set_tests_properties(wine_session.stop PROPERTIES
  FIXTURES_CLEANUP wine_session LABELS wine TIMEOUT 60)

function(quenlar_wine_tests)
  set_tests_properties(${ARGN} PROPERTIES
    FIXTURES_REQUIRED wine_session
    ENVIRONMENT "QUENLAR_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()
