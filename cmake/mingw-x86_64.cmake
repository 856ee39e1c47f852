# 64-bit Windows: the same sources, for running the Windows tests under
# wine64 on machines whose kernel cannot run 32-bit x86 code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(LV_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
