# The money forms, driven offscreen.
tavomi_test(test_finance_ui DB SOURCES finance_ui/finance_forms_test.cpp)
