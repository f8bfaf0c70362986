# Cross build for 64-bit Windows (x64) with MinGW-w64. Tests run through the
# 64-bit Wine loader.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
