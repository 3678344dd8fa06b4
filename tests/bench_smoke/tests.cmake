# The large-company generator at a tiny size: it runs, and what it builds adds up.
if(TAVOMI_BUILD_BENCH)
  tavomi_test(test_bench_smoke CORE SOURCES bench_smoke/generate_test.cpp)
  target_link_libraries(test_bench_smoke PRIVATE tavomi_bench_data)
  target_compile_definitions(test_bench_smoke PRIVATE TAVOMI_GENERATE_EXE="$<TARGET_FILE:tavomi-generate>")
  add_dependencies(test_bench_smoke tavomi-generate)
endif()
