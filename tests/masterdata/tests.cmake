tavomi_test(test_masterdata_rules SOURCES masterdata/shorthand_test.cpp masterdata/unit_scheme_test.cpp)
tavomi_test(test_masterdata_db DB SOURCES masterdata/goods_service_test.cpp masterdata/warehouse_service_test.cpp
  masterdata/category_service_test.cpp)
tavomi_test(test_masterdata_forms DB SOURCES masterdata/product_frm_test.cpp masterdata/masterdata_forms_test.cpp)
tavomi_test(test_masterdata_partners DB SOURCES masterdata/partner_forms_test.cpp masterdata/basic_lists_test.cpp
  masterdata/master_output_test.cpp)
