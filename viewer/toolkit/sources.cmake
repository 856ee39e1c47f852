# The toolkit's portable sources: compiled into kr_toolkit in the win32
# build and into the test tree's kr_toolkit_portable in both builds.
set(KR_TOOLKIT_PORTABLE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/callbacks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/color_value.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_filter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/key_bindings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/menu_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/toolkit_reset.cpp)
