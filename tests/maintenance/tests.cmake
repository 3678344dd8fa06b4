tavomi_test(test_maintenance DB CORE SOURCES maintenance/consistency_test.cpp maintenance/company_fixture.h)
# The tool test runs the built tavomi-check.
add_dependencies(test_maintenance tavomi-check)
target_compile_definitions(test_maintenance PRIVATE TAVOMI_CHECK_EXE="$<TARGET_FILE:tavomi-check>")
# Hostile input also goes through the defaults page and the settlement filters of the forms' layer.
tavomi_test(test_hostile_input DB SOURCES maintenance/hostile_input_test.cpp maintenance/company_fixture.h)
