# 32-bit x86 Linux with clang: the fuzz build (libFuzzer comes with clang's
# runtime, libclang-rt-14-dev). Otherwise the same target as the gcc build.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-linux-i386.cmake)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
