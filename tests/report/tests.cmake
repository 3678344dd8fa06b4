tavomi_test(test_report DB SOURCES report/template_engine_test.cpp report/report_view_test.cpp report/data_grid_test.cpp report/goods_list_output_test.cpp)
target_compile_definitions(test_report PRIVATE TAVOMI_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
