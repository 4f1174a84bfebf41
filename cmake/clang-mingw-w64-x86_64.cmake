# Cross-compiling for 64-bit Windows with Clang on the mingw-w64 headers and libraries:
# the same target, C runtime and libstdc++ as cmake/mingw-w64-x86_64.cmake, another compiler.
# It keeps the code honest about what it asks of a compiler; the test command compiles the
# library and both programs with it (scripts/clang-build.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${TOOLCHAIN_PREFIX})
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_SYSROOT /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Debian keeps mingw-w64's libstdc++ and libgcc in a GCC folder named after the thread model
# (/usr/lib/gcc/x86_64-w64-mingw32/12-posix), which Clang does not look for by itself: name
# the newest posix one. Its libstdc++ was built by GCC, which keeps thread_local variables
# in emulated TLS; Clang must do the same to share them (std::call_once's, for one).
file(GLOB KAIRON_MINGW_GCC_DIRS LIST_DIRECTORIES true /usr/lib/gcc/${TOOLCHAIN_PREFIX}/*-posix)
list(SORT KAIRON_MINGW_GCC_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET KAIRON_MINGW_GCC_DIRS 0 KAIRON_MINGW_GCC_DIR)
if(NOT IS_DIRECTORY "${KAIRON_MINGW_GCC_DIR}/include/c++")
  message(FATAL_ERROR "No mingw-w64 libstdc++ (posix threads) under /usr/lib/gcc/${TOOLCHAIN_PREFIX}: "
          "install Debian's mingw-w64 (scripts/setup.sh does)")
endif()
set(_kairon_cxx "${KAIRON_MINGW_GCC_DIR}/include/c++")
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${_kairon_cxx} ${_kairon_cxx}/${TOOLCHAIN_PREFIX} ${_kairon_cxx}/backward)
set(CMAKE_C_FLAGS_INIT "-femulated-tls")
set(CMAKE_CXX_FLAGS_INIT "-femulated-tls")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${KAIRON_MINGW_GCC_DIR} -pthread")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-L${KAIRON_MINGW_GCC_DIR} -pthread")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-L${KAIRON_MINGW_GCC_DIR} -pthread")
