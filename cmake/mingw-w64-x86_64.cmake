# Cross-build for 64-bit Windows with MinGW-w64. The -posix compilers carry std::thread and
# std::mutex; the -win32 ones do not. Programs run under Wine for tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUILLON_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
