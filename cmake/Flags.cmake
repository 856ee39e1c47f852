# Compiler flags shared by every target of both builds.
if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(LV_WIN32 ON)
else()
  set(LV_WIN32 OFF)
endif()

add_compile_options(-Wall -Wextra -ffp-contract=off)

if(LV_WIN32)
  # SSE arithmetic keeps float results identical to the native build;
  # C99 printf gives the same text for floats and vsnprintf results.
  add_compile_options(-msse2 -mfpmath=sse)
  add_compile_definitions(__USE_MINGW_ANSI_STDIO=1 WIN32_LEAN_AND_MEAN NOMINMAX)
  add_link_options(-static -Wl,--stack,8388608)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    add_link_options(-Wl,--large-address-aware)
  endif()
else()
  option(LV_SANITIZE "Build with AddressSanitizer and UBSan" ON)
  if(LV_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    # GCC's undefined set leaves out float-to-integer overflow.
    add_compile_options(-fsanitize=float-cast-overflow -fno-sanitize-recover=float-cast-overflow)
    add_link_options(-fsanitize=address,undefined)
    add_link_options(-fsanitize=float-cast-overflow)
  endif()
endif()
