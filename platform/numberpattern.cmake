# The number-pattern formatter of the live labels ("0.00 V", "##0 °C").
add_library(vzt_numberpattern STATIC ${CMAKE_CURRENT_LIST_DIR}/NumberPattern.cpp)
vzt_strict(vzt_numberpattern)
target_link_libraries(vzt_numberpattern PUBLIC vzt_platform)
