# The release zip for players: Kolvex.exe, Morvane.dll, data.qv and a short
# read-me, made by `cmake --build --preset win32 --target package`.
# Only the DLL of Morvane: its import library is for building, not playing.
install(TARGETS Kolvex morvane RUNTIME DESTINATION . ARCHIVE DESTINATION lib COMPONENT development EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_BINARY_DIR}/bin/data.qv DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/res/README-players.txt DESTINATION . RENAME README.txt)

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
include(CPack)
