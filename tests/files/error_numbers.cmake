# The table from Windows system error codes to the program's I/O error
# numbers. Included from tests/files/CMakeLists.txt.
cellglyph_add_test(io_error_numbers_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/io_error_numbers_test.cpp
  LIBRARIES cg_services)
