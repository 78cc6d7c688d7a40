# Included from ui/CMakeLists.txt: the grid widget stands alone so data-level tests can show
# a grid without the windows.
add_library(kap_gridview STATIC
  ${CMAKE_CURRENT_LIST_DIR}/GridView.h
  ${CMAKE_CURRENT_LIST_DIR}/GridView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GridAccessible.h
  ${CMAKE_CURRENT_LIST_DIR}/GridAccessible.cpp)
target_include_directories(kap_gridview PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kap_gridview PUBLIC kap_data Qt6::Widgets)
