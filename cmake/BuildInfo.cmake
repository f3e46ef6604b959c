# What anyone needs to make the same downloads again, written beside each one
# as DOWNLOAD.build-info.txt: included by the top CMakeLists.txt; the tools'
# part is written here, at configure time, and cmake/PackageFinish.cmake adds
# the commit and the time when CPack makes the package.
include(${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake)

# The Debian packages whose versions decide the bytes of this build's downloads.
set(kolvex_tool_packages cmake gcc g++ binutils python3 gzip)
if(WIN32)
  string(REPLACE _ - mingw_arch ${CMAKE_SYSTEM_PROCESSOR})
  list(APPEND kolvex_tool_packages g++-mingw-w64-${mingw_arch}-posix gcc-mingw-w64-base mingw-w64-common
    mingw-w64-${mingw_arch}-dev binutils-mingw-w64-${mingw_arch} zip wixl msitools libgcab-1.0-0)
elseif(KOLVEX_PORTABLE)
  # The compilers and libraries are the Debian 11 build root's, listed below.
  set(kolvex_tool_packages cmake python3 gzip meson ninja-build fonttools fonts-wqy-microhei)
else()
  list(APPEND kolvex_tool_packages dpkg-dev libsdl2-dev libsdl2-ttf-dev libfontconfig-dev libglu1-mesa-dev
    libjpeg62-turbo-dev)
endif()
execute_process(COMMAND dpkg-query -W "-f=  \${Package} \${Version}\n" ${kolvex_tool_packages}
  OUTPUT_VARIABLE tool_versions ERROR_QUIET)
if(KOLVEX_PORTABLE AND CMAKE_SYSROOT)
  # The root is made from bullseye, bullseye-updates and bullseye-security
  # (where it could be had) on the day it is made.
  execute_process(COMMAND dpkg-query --admindir=${CMAKE_SYSROOT}/var/lib/dpkg -W "-f=  \${Package} \${Version}\n"
                          gcc-10 g++-10 cpp-10 libstdc++-10-dev libgcc-10-dev binutils libc6-dev libjpeg62-turbo-dev
                          libx11-dev libwayland-dev libasound2-dev libpulse-dev libdbus-1-dev libudev-dev
    OUTPUT_VARIABLE root_versions ERROR_QUIET)
  string(APPEND tool_versions "Debian 11 packages in the build root (cmake/portable/make-build-root.sh):\n${root_versions}")
  # The static libraries inside the program, each with the suite it came
  # from: whoever checks the download sees whether libjpeg had its fixes.
  foreach(made_from .kolvex-suites .kolvex-built-in)
    if(NOT EXISTS ${CMAKE_SYSROOT}/${made_from})
      message(FATAL_ERROR "${CMAKE_SYSROOT} has no ${made_from}: remove it, and the configure makes it again")
    endif()
  endforeach()
  file(STRINGS ${CMAKE_SYSROOT}/.kolvex-suites root_suites)
  string(APPEND tool_versions "The build root's suites: ${root_suites}\n")
  string(APPEND tool_versions "Built into the program from the build root:\n")
  file(STRINGS ${CMAKE_SYSROOT}/.kolvex-built-in built_in)
  foreach(line ${built_in})
    string(REGEX REPLACE "^([^ ]+) ([^ ]+) ([^ ]+)$" "  \\1 \\2 (\\3)" line "${line}")
    string(APPEND tool_versions "${line}\n")
  endforeach()
endif()
execute_process(COMMAND ${CMAKE_CXX_COMPILER} --version OUTPUT_VARIABLE compiler_line ERROR_QUIET)
string(REGEX REPLACE "\n.*" "" compiler_line "${compiler_line}")
set(build_info "Compiler: ${compiler_line}
CMake: ${CMAKE_VERSION}
Build type: ${CMAKE_BUILD_TYPE}, for ${CMAKE_SYSTEM_NAME} ${CMAKE_SYSTEM_PROCESSOR}
Debian 12 packages:
${tool_versions}")
if(WIN32)
  execute_process(COMMAND wixl --version OUTPUT_VARIABLE wixl_version OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  string(APPEND build_info "wixl: ${wixl_version}\n")
endif()
file(WRITE ${CMAKE_BINARY_DIR}/build-info-tools.txt "${build_info}")

set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackProject.cmake)
set(CPACK_KOLVEX_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_KOLVEX_RELEASE_DATE ${KOLVEX_RELEASE_DATE})
set(CPACK_KOLVEX_BUILD_INFO ${CMAKE_BINARY_DIR}/build-info-tools.txt)
if(KOLVEX_PORTABLE)
  # The versions build-libs.sh fetched: the pins, or what replaced a pin the
  # archive no longer serves.
  set(CPACK_KOLVEX_SOURCE_VERSIONS ${CMAKE_BINARY_DIR}/third-party/versions.txt)
endif()
set(CPACK_KOLVEX_REPACK ${PROJECT_SOURCE_DIR}/cmake/repack.py)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackageFinish.cmake)
