# The portable preset's compilers: Debian 11's GCC 10 and libstdc++ run inside
# the build root make-build-root.sh makes (build/portable/build-root), so the
# tarball asks for glibc 2.31 at most. Named by the portable preset and by
# build-libs.sh for the libraries; read again by every try_compile.
cmake_minimum_required(VERSION 3.25)
# The root's path reaches try_compile's projects through the environment.
if(NOT KOLVEX_BUILD_ROOT)
  set(KOLVEX_BUILD_ROOT "$ENV{KOLVEX_BUILD_ROOT}")
endif()
if(NOT KOLVEX_BUILD_ROOT)
  set(KOLVEX_BUILD_ROOT ${CMAKE_BINARY_DIR}/build-root)
endif()
set(ENV{KOLVEX_BUILD_ROOT} "${KOLVEX_BUILD_ROOT}")

if(NOT "$ENV{KOLVEX_BUILD_ROOT_READY}" STREQUAL "${KOLVEX_BUILD_ROOT}")
  message(STATUS "Build root (Debian 11) in ${KOLVEX_BUILD_ROOT} (made once; minutes the first time)")
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/make-build-root.sh ${KOLVEX_BUILD_ROOT}
                          ${CMAKE_BINARY_DIR}/third-party/unavailable RESULT_VARIABLE made)
  if(made EQUAL 77)
    # The reason is in third-party/unavailable, where the tarball's tests read
    # it and skip. The host's compilers configure the build, which then finds
    # its libraries' sources out of reach too and builds nothing.
    message(WARNING "The portable build's Debian 11 root cannot be made here: the tarball's tests will be skipped")
    return()
  elseif(NOT made EQUAL 0)
    message(FATAL_ERROR "The portable build's Debian 11 root could not be made (log in ${KOLVEX_BUILD_ROOT}.log)")
  endif()
  set(ENV{KOLVEX_BUILD_ROOT_READY} "${KOLVEX_BUILD_ROOT}")
endif()

set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER ${KOLVEX_BUILD_ROOT}.bin/gcc)
set(CMAKE_CXX_COMPILER ${KOLVEX_BUILD_ROOT}.bin/g++)
# The root's headers and libraries, never the host's: the compiler is given
# --sysroot, which inside the root names the root itself, and CMake looks up
# libraries and packages under it (and under the prefix build-libs.sh fills,
# KOLVEX_FIND_ROOTS). Programs (pkg-config, Ninja) are the host's.
set(CMAKE_SYSROOT ${KOLVEX_BUILD_ROOT})
list(APPEND CMAKE_FIND_ROOT_PATH $ENV{KOLVEX_FIND_ROOTS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# pkg-config reads the root's .pc files (and the prefix's, from
# CMAKE_PREFIX_PATH); the paths they give are read by the compiler inside the
# root, where they name the root's files.
set(ENV{PKG_CONFIG_LIBDIR}
  "${KOLVEX_BUILD_ROOT}/usr/lib/x86_64-linux-gnu/pkgconfig:${KOLVEX_BUILD_ROOT}/usr/lib/pkgconfig:${KOLVEX_BUILD_ROOT}/usr/share/pkgconfig")
