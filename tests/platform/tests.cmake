tavomi_test(test_platform CORE SOURCES platform/ini_file_test.cpp platform/single_instance_test.cpp)
