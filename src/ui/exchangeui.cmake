# Included from ui/CMakeLists.txt: receive and transmit in the main windows, with frmbar.
add_library(kap_exchangeui STATIC
  ${CMAKE_CURRENT_LIST_DIR}/frmbar.h
  ${CMAKE_CURRENT_LIST_DIR}/frmbar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExchangeCommands.h
  ${CMAKE_CURRENT_LIST_DIR}/ExchangeCommands.cpp)
target_include_directories(kap_exchangeui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(kap_exchangeui PUBLIC kap_ui kap_exchange Qt6::Widgets)
