# The viewer's portable sources (every file but the *_win32.cpp ones):
# compiled into the viewer programs in the win32 build and into the viewer's
# tests in both builds.
file(GLOB LV_VIEWER_PORTABLE_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
list(FILTER LV_VIEWER_PORTABLE_SOURCES EXCLUDE REGEX "_win32\\.cpp$")
