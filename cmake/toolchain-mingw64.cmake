# 64-bit Windows: the tests, where the kernel runs no 32-bit code (scripts/wine-env.sh).
set(VELTOR_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
