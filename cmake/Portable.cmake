# The portable build's libraries, made at configure time by
# cmake/portable/build-libs.sh into the build tree and kept there (a later
# configure finds them done): SDL2 and SDL_ttf from Debian's source packages,
# GLU, compiled in the Debian 11 build root the preset's toolchain file
# (cmake/portable/toolchain-build-root.cmake) made and compiles the game in.
# The game then finds them before the root's. Included by the top
# CMakeLists.txt when KOLVEX_PORTABLE is on, before the game's folders.
# The oldest glibc the tarball runs on: the build root's (Debian 11), that of
# Steam Linux Runtime 3.0 and Ubuntu 20.04. The read-mes say it; the
# portable.glibc_floor test fails on any symbol that asks for a newer one.
set(KOLVEX_PORTABLE_GLIBC 2.31)
set(KOLVEX_THIRD_PARTY ${CMAKE_BINARY_DIR}/third-party)
set(KOLVEX_THIRD_PARTY_LIB ${KOLVEX_THIRD_PARTY}/prefix/lib)
set(portable_scripts ${PROJECT_SOURCE_DIR}/cmake/portable/build-libs.sh ${PROJECT_SOURCE_DIR}/cmake/portable/sources.txt
  ${PROJECT_SOURCE_DIR}/cmake/portable/freetype-modules.cfg ${PROJECT_SOURCE_DIR}/cmake/portable/glu/CMakeLists.txt
  ${PROJECT_SOURCE_DIR}/cmake/portable/make-build-root.sh ${PROJECT_SOURCE_DIR}/cmake/portable/apt-suites.sh)
if(NOT CMAKE_SYSROOT AND EXISTS ${KOLVEX_THIRD_PARTY}/unavailable)
  # The toolchain could not make the root (the reason is in that file): the
  # tarball's tests skip, and there is nothing to build.
  set(KOLVEX_WITH_GAME OFF)
  return()
endif()
if(NOT CMAKE_SYSROOT OR NOT KOLVEX_BUILD_ROOT)
  message(FATAL_ERROR "The portable build compiles in its Debian 11 root: configure it with the portable preset")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${portable_scripts})
message(STATUS "Portable libraries in ${KOLVEX_THIRD_PARTY} (built once; minutes the first time)")
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/cmake/portable/build-libs.sh ${KOLVEX_THIRD_PARTY} ${PROJECT_SOURCE_DIR}
  ${KOLVEX_BUILD_ROOT} RESULT_VARIABLE built)
if(built EQUAL 77)
  # No archive and nothing cached; the reason is in third-party/unavailable,
  # where the tarball's tests read it and skip. Nothing else to build.
  message(WARNING "The portable libraries' sources cannot be had here: the tarball's tests will be skipped")
  set(KOLVEX_WITH_GAME OFF)
  return()
elseif(NOT built EQUAL 0)
  message(FATAL_ERROR "The portable libraries could not be built (logs in ${KOLVEX_THIRD_PARTY})")
endif()

# Our SDL2, SDL_ttf (their CMake packages) and GLU (its pkg-config file)
# first; the prefix is a find root beside the build root, so it is searched as it is.
list(PREPEND CMAKE_PREFIX_PATH ${KOLVEX_THIRD_PARTY}/prefix)
list(APPEND CMAKE_FIND_ROOT_PATH ${KOLVEX_THIRD_PARTY}/prefix)
# libjpeg-turbo inside the program, from the root's static library (Debian 11's).
set(JPEG_LIBRARY_RELEASE ${CMAKE_SYSROOT}/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/libjpeg.a CACHE FILEPATH "static libjpeg"
  FORCE)
# libGL.so.1, which every GL driver provides, not GLVND's libOpenGL.
set(OpenGL_GL_PREFERENCE LEGACY)
# The subset face the program opens from its own folder.
set(KOLVEX_BUNDLED_FONT wqy-microhei-subset.ttf)
