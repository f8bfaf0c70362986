# Cross build for 32-bit Windows (x86) with MinGW-w64. Tests run through the
# 32-bit Wine loader.
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
