# Included from ui/CMakeLists.txt: the small entry dialogs of the setting tables stand alone,
# so their tests build without the main windows.
add_library(kap_entrydialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ActuatorTypeDialog.h
  ${CMAKE_CURRENT_LIST_DIR}/ActuatorTypeDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PointModeDialog.h
  ${CMAKE_CURRENT_LIST_DIR}/PointModeDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KeypadDialog.h
  ${CMAKE_CURRENT_LIST_DIR}/KeypadDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/QtEntryDialogs.h)
target_include_directories(kap_entrydialogs PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kap_entrydialogs PUBLIC kap_data Qt6::Widgets)
