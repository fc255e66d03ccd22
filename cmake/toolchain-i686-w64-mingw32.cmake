# Cross-building the libraries as 32-bit Windows DLLs with MinGW-w64 (posix
# thread model: std::thread and std::mutex come from winpthreads).
#   cmake -S . -B build-win -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake \
#     -DUNITS_BUILD_DIALOGS=OFF -DUNITS_BUILD_BENCH=OFF
# Set UNITS_MINGW_TRIPLET=x86_64-w64-mingw32 for the 64-bit form.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

if(NOT UNITS_MINGW_TRIPLET)
  set(UNITS_MINGW_TRIPLET i686-w64-mingw32)
endif()
set(CMAKE_C_COMPILER ${UNITS_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${UNITS_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${UNITS_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${UNITS_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Try-compile projects see the triplet too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES UNITS_MINGW_TRIPLET)

# Doubles in SSE2 registers, as on x86-64: the x87 unit's 80-bit
# intermediates would round some conversions differently from the Linux
# build. Every CPU that runs a supported Windows has SSE2. Windows keeps a
# 32-bit stack only 4-byte aligned, so functions realign it for SSE spills.
if(UNITS_MINGW_TRIPLET MATCHES "^i686")
  set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
  set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
endif()

# Tests and the host program run under Wine (UNITS_WINE names another
# loader, e.g. wine64 for the 64-bit form where 32-bit programs cannot run).
if(NOT UNITS_WINE)
  set(UNITS_WINE wine)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${UNITS_WINE})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES UNITS_WINE)

# The DLLs and programs need nothing beyond Windows itself: the GCC runtime,
# the C++ library and winpthreads go in statically.
set(units_mingw_static "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${units_mingw_static}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${units_mingw_static}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${units_mingw_static}")
