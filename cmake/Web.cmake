# The page's libraries, made at configure time by cmake/web/build-libs.sh into
# the build tree and kept there (a later configure finds them done): SDL2,
# SDL_ttf, FreeType and libjpeg-turbo from Debian's source packages, compiled
# by Emscripten. Included by the top CMakeLists.txt for the web preset, before
# the game's folders, with the GL layer's headers ahead of the system's.
set(KOLVEX_THIRD_PARTY ${CMAKE_BINARY_DIR}/third-party)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/web/build-libs.sh
  ${PROJECT_SOURCE_DIR}/cmake/portable/sources.txt)
message(STATUS "The page's libraries in ${KOLVEX_THIRD_PARTY} (built once; minutes the first time)")
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/cmake/web/build-libs.sh ${KOLVEX_THIRD_PARTY} ${PROJECT_SOURCE_DIR}
  RESULT_VARIABLE built)
if(built EQUAL 77)
  message(FATAL_ERROR "The page's libraries' sources cannot be had here: ${KOLVEX_THIRD_PARTY}/unavailable")
elseif(NOT built EQUAL 0)
  message(FATAL_ERROR "The page's libraries could not be built (logs in ${KOLVEX_THIRD_PARTY})")
endif()
list(PREPEND CMAKE_PREFIX_PATH ${KOLVEX_THIRD_PARTY}/prefix)
list(APPEND CMAKE_FIND_ROOT_PATH ${KOLVEX_THIRD_PARTY}/prefix)
# Ours, not Emscripten's stand-in package, which would ask for its port.
set(SDL2_DIR ${KOLVEX_THIRD_PARTY}/prefix/lib/cmake/SDL2 CACHE PATH "the page's SDL2" FORCE)
set(SDL2_ttf_DIR ${KOLVEX_THIRD_PARTY}/prefix/lib/cmake/SDL2_ttf CACHE PATH "the page's SDL_ttf" FORCE)
find_package(SDL2 REQUIRED)
find_package(SDL2_ttf REQUIRED)
include_directories(BEFORE SYSTEM ${PROJECT_SOURCE_DIR}/src/render/GLWeb)
set(KOLVEX_BUNDLED_FONT wqy-microhei-subset.ttf)
# libjpeg-turbo names its static library libjpeg.a, which FindJPEG's search
# for a Release library of the page's target does not try on its own.
set(JPEG_LIBRARY_RELEASE ${KOLVEX_THIRD_PARTY}/prefix/lib/libjpeg.a CACHE FILEPATH "the page's libjpeg" FORCE)
set(JPEG_INCLUDE_DIR ${KOLVEX_THIRD_PARTY}/prefix/include CACHE PATH "the page's libjpeg headers" FORCE)
# How every program of the page links: one thread (no cross-origin isolation
# needed), WebGL 1, a file system the page fills before main, memory that
# grows with what the archive holds. SDL's Web Audio code calls back into the
# module through dynCall, which this runtime includes only when asked
# (runtime-functions.json: a "$" would not survive the makefiles' quoting).
set(KOLVEX_PAGE_LINK_OPTIONS -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sFORCE_FILESYSTEM=1
  "-sEXPORTED_RUNTIME_METHODS=['FS','addRunDependency','removeRunDependency']"
  -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${PROJECT_SOURCE_DIR}/cmake/web/runtime-functions.json
  -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1 -sEXIT_RUNTIME=0)
