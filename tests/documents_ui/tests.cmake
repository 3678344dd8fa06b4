# The bill form and the bill lookup, driven offscreen with QtTest's key and mouse events.
tavomi_test(test_documents_ui DB SOURCES
  documents_ui/form_fixture.h
  documents_ui/document_form_test.cpp
  documents_ui/lookup_form_test.cpp
  documents_ui/sales_form_test.cpp)
