# The BMP writer shared by the tests, the fuzz seeds and the picture tool:
# include() this file from any of their projects for the zorelad_bmpwriter library.
if(NOT TARGET zorelad_bmpwriter)
  add_library(zorelad_bmpwriter STATIC ${CMAKE_CURRENT_LIST_DIR}/bmpwriter.cpp ${CMAKE_CURRENT_LIST_DIR}/bmpwriter.h)
  target_include_directories(zorelad_bmpwriter PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(zorelad_bmpwriter PUBLIC Qt6::Gui)
endif()
