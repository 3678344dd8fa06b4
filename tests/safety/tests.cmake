# Crash safety and concurrency: worker processes drive the engine while the tests kill them or run
# them side by side. TAVOMI_LONG_TESTS=1 in the environment runs the long variants.
add_executable(tavomi_stress_worker safety/stress_worker.cpp)
target_link_libraries(tavomi_stress_worker PRIVATE tavomi_core)
tavomi_test(test_safety DB CORE SOURCES safety/safety_fixture.cpp safety/safety_fixture.h safety/crash_test.cpp
  safety/concurrency_test.cpp)
add_dependencies(test_safety tavomi_stress_worker)
target_compile_definitions(test_safety PRIVATE TAVOMI_STRESS_WORKER="$<TARGET_FILE:tavomi_stress_worker>")
