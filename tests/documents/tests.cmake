tavomi_test(test_documents DB CORE SOURCES documents/stock_ledger_test.cpp documents/bill_store_test.cpp documents/sales_store_test.cpp)
