# The installer's portable core: configuration, command line, paths and the
# texts it builds. Included by installer/ (win32 build) and by the tests, so
# the native build can test it without the program.
if(NOT TARGET kw_core)
  file(GLOB KW_CORE_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/core/*.cpp)
  add_library(kw_core STATIC ${KW_CORE_SOURCES})
  target_include_directories(kw_core PUBLIC ${PROJECT_SOURCE_DIR})
endif()
