add_library(vzt_registry STATIC ${CMAKE_CURRENT_LIST_DIR}/Registry.cpp)
vzt_strict(vzt_registry)
target_link_libraries(vzt_registry PUBLIC vzt_platform)
