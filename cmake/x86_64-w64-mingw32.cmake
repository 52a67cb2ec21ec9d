# Cross toolchain: 64-bit Windows with the posix-thread MinGW-w64 GCC.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
# SSE2 is the x64 baseline; no contraction keeps results equal to the x86 build.
set(QX_ARCH_FLAGS "-ffp-contract=off")
include(${CMAKE_CURRENT_LIST_DIR}/mingw-toolchain.cmake)
