add_library(vzt_config STATIC Container.cpp ContainerKey.cpp ReplacingFile.cpp)
vzt_strict(vzt_config)
target_include_directories(vzt_config PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vzt_config PUBLIC vzt_crypto vzt_textbuffer)
