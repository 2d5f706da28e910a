vzt_test(platform_numberpattern_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/NumberPatternTest.cpp
  LIBS vzt_numberpattern)
