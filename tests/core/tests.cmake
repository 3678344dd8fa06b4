tavomi_test(test_core_text CORE SOURCES core/text_utils_test.cpp)
tavomi_test(test_core_db DB CORE SOURCES core/session_test.cpp core/schema_test.cpp core/helpers_test.cpp)
