# Cross toolchain: 32-bit Windows with the posix-thread MinGW-w64 GCC.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
# The x87 default keeps excess precision; the engine relies on plain
# single-precision results.
set(QX_ARCH_FLAGS "-msse2 -mfpmath=sse -ffp-contract=off")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
