tavomi_test(test_ui_app DB SOURCES ui/app/connect_service_test.cpp ui/app/form_helpers_test.cpp)
