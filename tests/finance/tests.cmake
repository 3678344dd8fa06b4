tavomi_test(test_finance DB CORE SOURCES finance/cash_ledger_test.cpp finance/money_road_test.cpp finance/settlement_test.cpp finance/transfers_test.cpp)
