# Each source folder globs its own files so that adding a file needs no
# build edit. The one rule for the files of a folder: every .cpp and .c
# (every *_test.cpp with SUFFIX _test); files named *_win32 touch Win32, so
# the native build leaves them out, and so does a PORTABLE list in both.
# The process entries are linked into their programs directly.
set(LV_PROCESS_ENTRIES winmain_win32.cpp kitwright_main_win32.cpp)

function(lv_glob_sources out)
  cmake_parse_arguments(G "PORTABLE" "SUFFIX" "" ${ARGN})
  set(result)
  foreach(dir IN LISTS G_UNPARSED_ARGUMENTS)
    file(GLOB files CONFIGURE_DEPENDS "${dir}/*${G_SUFFIX}.cpp" "${dir}/*${G_SUFFIX}.c")
    foreach(f IN LISTS files)
      get_filename_component(name "${f}" NAME)
      if(name IN_LIST LV_PROCESS_ENTRIES)
        continue()
      endif()
      if(name MATCHES "_win32${G_SUFFIX}\\.(cpp|c)$" AND (G_PORTABLE OR NOT LV_WIN32))
        continue()
      endif()
      list(APPEND result "${f}")
    endforeach()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# lv_library(name [PORTABLE] dir...): a static library from the folders'
# sources; an empty folder still yields a target so that dependants can
# link it from the start.
function(lv_library name)
  cmake_parse_arguments(L "PORTABLE" "" "" ${ARGN})
  if(L_PORTABLE)
    lv_glob_sources(srcs PORTABLE ${L_UNPARSED_ARGUMENTS})
  else()
    lv_glob_sources(srcs ${L_UNPARSED_ARGUMENTS})
  endif()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
  endif()
endfunction()

function(lv_link name)
  get_target_property(type ${name} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${name} INTERFACE ${ARGN})
  else()
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()
