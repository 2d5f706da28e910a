vzt_test(platform_registry_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/RegistryTest.cpp LIBS vzt_registry)
