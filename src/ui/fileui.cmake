# Included from ui/CMakeLists.txt: the file commands and printing of the main windows.
add_library(kap_fileui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/FileCommands.h
  ${CMAKE_CURRENT_LIST_DIR}/FileCommands.cpp)
target_include_directories(kap_fileui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kap_fileui PUBLIC kap_ui kap_files kap_module1 Qt6::Widgets Qt6::PrintSupport)
