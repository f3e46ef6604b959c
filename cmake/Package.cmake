# The release for players: a zip with Kolvex.exe, Morvane.dll, data.qv, a
# short read-me, the licence and the runtime notices, and for the 32-bit build
# also an installer (Kolvex-VERSION-win32.msi, from res/Kolvex.wxs), both made by
# `cmake --build --preset win32 --target package`.
# Only the DLL of Morvane: its import library is for building, not playing.
install(TARGETS Kolvex morvane RUNTIME DESTINATION . ARCHIVE DESTINATION lib COMPONENT development EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_BINARY_DIR}/bin/data.qv DESTINATION .)
# The read-me names this version's zip and installer.
configure_file(${PROJECT_SOURCE_DIR}/res/README-players.txt ${CMAKE_BINARY_DIR}/README.txt @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# The notices of the MinGW-w64 runtime parts linked into both programs. The
# link maps record which parts those are; scripts/runtime-notices.py checks the
# notices against them.
install(FILES ${PROJECT_SOURCE_DIR}/res/THIRD-PARTY.txt DESTINATION .)
target_link_options(Kolvex PRIVATE "LINKER:-Map=${CMAKE_BINARY_DIR}/Kolvex.map")
target_link_options(morvane PRIVATE "LINKER:-Map=${CMAKE_BINARY_DIR}/Morvane.map")

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(kolvex_platform win64)
else()
  set(kolvex_platform win32)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Kolvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Kolvex-${PROJECT_VERSION}-${kolvex_platform})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# Players get the programs without debugging symbols.
set(CPACK_STRIP_FILES ON)

# The installer is built from the zip's staged (stripped) files once the zip
# is made. The shipped build is the 32-bit one, which Program Files (x86)
# takes on every Windows.
if(kolvex_platform STREQUAL win32)
  find_program(KOLVEX_WIXL wixl)
  set(CPACK_KOLVEX_WIXL ${KOLVEX_WIXL})
  set(CPACK_KOLVEX_WXS ${PROJECT_SOURCE_DIR}/res/Kolvex.wxs)
  set(CPACK_KOLVEX_ICON ${PROJECT_SOURCE_DIR}/art/kolvex.ico)
  set(CPACK_KOLVEX_MSI ${CMAKE_BINARY_DIR}/Kolvex-${PROJECT_VERSION}-win32.msi)
  # How every version of Kolvex's installer finds the installed one: never changes.
  set(CPACK_KOLVEX_UPGRADE_CODE C4AECEA6-B5EE-4A61-BBA0-E345609F22D8)
  list(APPEND CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackageMsi.cmake)
  # The same recipe for the installer test, which builds other versions from
  # other staged files: cmake -DCPACK_TEMPORARY_DIRECTORY=... -DCPACK_PACKAGE_VERSION=...
  # -DCPACK_KOLVEX_MSI=... -P msi-recipe.cmake
  file(WRITE ${CMAKE_BINARY_DIR}/msi-recipe.cmake
"# Made by cmake/Package.cmake: the installer's fixed inputs, then its recipe.
set(CPACK_KOLVEX_WIXL \"${KOLVEX_WIXL}\")
set(CPACK_KOLVEX_WXS \"${CPACK_KOLVEX_WXS}\")
set(CPACK_KOLVEX_ICON \"${CPACK_KOLVEX_ICON}\")
set(CPACK_KOLVEX_UPGRADE_CODE ${CPACK_KOLVEX_UPGRADE_CODE})
set(CPACK_KOLVEX_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
set(CPACK_KOLVEX_RELEASE_DATE ${KOLVEX_RELEASE_DATE})
include(\"${PROJECT_SOURCE_DIR}/cmake/PackageMsi.cmake\")
")
endif()
include(CPack)
