# Included from ui/CMakeLists.txt: the calculator and version windows stand alone, so their
# tests build without the main windows.
add_library(kap_toolwindows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/VersionWindow.h
  ${CMAKE_CURRENT_LIST_DIR}/VersionWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SpeedCalculatorWindow.h
  ${CMAKE_CURRENT_LIST_DIR}/SpeedCalculatorWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HiddenWindow.h
  ${CMAKE_CURRENT_LIST_DIR}/HiddenWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.h
  ${CMAKE_CURRENT_LIST_DIR}/WindowPlacement.cpp)
target_include_directories(kap_toolwindows PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kap_toolwindows PUBLIC kap_tools kap_session kap_platform
  Qt6::Widgets)
