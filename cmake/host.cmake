# Host build: the in-memory backend and the tests that run on it.
file(GLOB QUENLAR_MEMORY_SOURCES CONFIGURE_DEPENDS platform/memory/*.cpp)
add_library(quenlar_memory STATIC ${QUENLAR_MEMORY_SOURCES})
target_link_libraries(quenlar_memory PUBLIC quenlar_platform)

# Test support on top of the backend: the simulated game client, plugged into the
# in-memory shell by the tests' machine.
file(GLOB QUENLAR_SIMULATED_SOURCES CONFIGURE_DEPENDS tests/support/*.cpp)
add_library(quenlar_simulated STATIC ${QUENLAR_SIMULATED_SOURCES})
target_link_libraries(quenlar_simulated PUBLIC quenlar_memory)

file(GLOB HOST_TEST_SOURCES CONFIGURE_DEPENDS tests/host/*.cpp)
add_executable(host_tests ${HOST_TEST_SOURCES})
target_include_directories(host_tests PRIVATE tests/host)
target_link_libraries(host_tests PRIVATE quenlar_app quenlar_simulated GTest::gmock
  GTest::gtest_main)
gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS host)

# Tests in tests/contract run on both backends; each tier supplies their rigs in
# tests/<tier>/contract_rig.h. Linked without the program: the backend and the seam
# stand on their own.
file(GLOB CONTRACT_TEST_SOURCES CONFIGURE_DEPENDS tests/contract/*_test.cpp)
add_executable(host_contract_tests ${CONTRACT_TEST_SOURCES})
target_include_directories(host_contract_tests PRIVATE tests/host)
target_link_libraries(host_contract_tests PRIVATE quenlar_memory GTest::gmock GTest::gtest_main)
gtest_discover_tests(host_contract_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS host)

if(QUENLAR_BENCH)
  add_subdirectory(bench)
endif()
