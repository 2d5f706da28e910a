# String tables of resource libraries (the language library) and the string loaders.
add_library(vzt_strings STATIC ${CMAKE_CURRENT_LIST_DIR}/StringResources.cpp)
vzt_strict(vzt_strings)
target_link_libraries(vzt_strings PUBLIC vzt_platform)
