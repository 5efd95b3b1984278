# 32-bit x86 Linux with clang: the fuzz build (libFuzzer comes with clang's
# runtime, libclang-rt-dev). Otherwise the same target as the gcc build.
# Debian's unversioned names: clang 14 on Debian 12, clang 19 on Debian 13.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-linux-i386.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
