# The Debian package of the native game, made by
# `cmake --build --preset linux --target package`: Debian's layout for games
# (program under /usr/lib/games with a launcher in /usr/games, data under
# /usr/share/games), a menu entry, AppStream metadata for software centres,
# hicolor icons, a manual page and the docs.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(kolvex_deb_program ${CPACK_PACKAGING_INSTALL_PREFIX}/lib/games/kolvex/kolvex)
set(KOLVEX_DEB_DATA_DIR ${CPACK_PACKAGING_INSTALL_PREFIX}/share/games/kolvex)
set(KOLVEX_DEB_PROGRAM ${kolvex_deb_program})
set(linux_res ${PROJECT_SOURCE_DIR}/res/linux)
set(deb_out ${CMAKE_BINARY_DIR}/deb)
configure_file(${linux_res}/kolvex.in ${deb_out}/kolvex @ONLY)

# The manual page's header carries the project version and release day from
# CMakeLists.txt, in the form it wants (English names, whatever the build's
# locale).
function(kolvex_release_date format out)
  execute_process(COMMAND env LC_ALL=C date -u -d "${KOLVEX_RELEASE_DATE} 12:00" ${format}
    OUTPUT_VARIABLE date OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  set(${out} ${date} PARENT_SCOPE)
endfunction()
kolvex_release_date(-R KOLVEX_RELEASE_CHANGELOG_DATE)
kolvex_release_date("+%B %Y" KOLVEX_RELEASE_MONTH)
configure_file(${linux_res}/kolvex.6.in ${deb_out}/kolvex.6 @ONLY)

# Release notes are written under their own number and day and stay there; a
# new version needs its own entries on top of the changelog and the AppStream
# releases, so that a bump can never relabel the last release's notes.
file(STRINGS ${linux_res}/changelog newest REGEX "^kolvex \\(" LIMIT_COUNT 1)
file(STRINGS ${linux_res}/changelog newest_trailer REGEX "^ -- " LIMIT_COUNT 1)
file(STRINGS ${linux_res}/io.github.kolvex.kolvex.metainfo.xml newest_release REGEX "<release " LIMIT_COUNT 1)
string(REGEX REPLACE "^kolvex \\(([^)]*)\\).*" "\\1" newest "${newest}")
string(REGEX REPLACE ".*>  " "" newest_trailer "${newest_trailer}")
string(REGEX REPLACE ".*version=\"([^\"]*)\" date=\"([^\"]*)\".*" "\\1 \\2" newest_release "${newest_release}")
if(NOT newest STREQUAL PROJECT_VERSION OR NOT newest_trailer STREQUAL KOLVEX_RELEASE_CHANGELOG_DATE
   OR NOT newest_release STREQUAL "${PROJECT_VERSION} ${KOLVEX_RELEASE_DATE}")
  message(FATAL_ERROR "Kolvex ${PROJECT_VERSION} (${KOLVEX_RELEASE_DATE}) needs its own entry on top of "
    "res/linux/changelog and of the releases in res/linux/io.github.kolvex.kolvex.metainfo.xml")
endif()
configure_file(${linux_res}/changelog ${deb_out}/changelog COPYONLY)

# Files made for the package: icons cut from the game's icon, and the
# changelog and manual page compressed as Debian wants them (-n: reproducible).
find_program(KOLVEX_GZIP gzip REQUIRED)
set(icon_sizes 32 48 256)
set(icon_pngs "")
foreach(size ${icon_sizes})
  list(APPEND icon_pngs ${deb_out}/icons/kolvex-${size}.png)
endforeach()
add_custom_command(OUTPUT ${icon_pngs}
  COMMAND /usr/bin/python3 ${linux_res}/icon-pngs.py ${PROJECT_SOURCE_DIR}/art/kolvex.ico ${deb_out}/icons
  DEPENDS ${linux_res}/icon-pngs.py ${PROJECT_SOURCE_DIR}/art/kolvex.ico
  VERBATIM)
add_custom_command(OUTPUT ${deb_out}/changelog.gz ${deb_out}/kolvex.6.gz
  COMMAND ${KOLVEX_GZIP} -9nc ${deb_out}/changelog > ${deb_out}/changelog.gz
  COMMAND ${KOLVEX_GZIP} -9nc ${deb_out}/kolvex.6 > ${deb_out}/kolvex.6.gz
  DEPENDS ${deb_out}/changelog ${deb_out}/kolvex.6)
# The menu entry and the software centres' page in every catalogue's language.
set(po_dir ${PROJECT_SOURCE_DIR}/po)
set(metainfo io.github.kolvex.kolvex.metainfo.xml)
file(GLOB po_files ${po_dir}/*.po)
add_custom_command(OUTPUT ${deb_out}/kolvex.desktop ${deb_out}/${metainfo}
  COMMAND ${KOLVEX_MSGFMT} --desktop --template=${linux_res}/kolvex.desktop -d ${po_dir} -o ${deb_out}/kolvex.desktop
  COMMAND ${KOLVEX_MSGFMT} --xml --template=${linux_res}/${metainfo} -d ${po_dir} -o ${deb_out}/${metainfo}.new
  COMMAND ${CMAKE_COMMAND} -DIN=${deb_out}/${metainfo}.new -DOUT=${deb_out}/${metainfo}
          "-DLANGUAGES=${KOLVEX_LANGUAGES}" -P ${PROJECT_SOURCE_DIR}/cmake/MetainfoLanguages.cmake
  DEPENDS ${linux_res}/kolvex.desktop ${linux_res}/${metainfo} ${po_files} ${po_dir}/LINGUAS
          ${PROJECT_SOURCE_DIR}/cmake/MetainfoLanguages.cmake
  VERBATIM)
add_custom_target(deb_files ALL DEPENDS ${icon_pngs} ${deb_out}/changelog.gz ${deb_out}/kolvex.6.gz
  ${deb_out}/kolvex.desktop ${deb_out}/${metainfo})

install(TARGETS kolvex RUNTIME DESTINATION lib/games/kolvex)
install(PROGRAMS ${deb_out}/kolvex DESTINATION games)
install(FILES ${CMAKE_BINARY_DIR}/bin/data.qv DESTINATION share/games/kolvex)
foreach(language ${KOLVEX_LANGUAGES})
  install(FILES ${CMAKE_BINARY_DIR}/bin/locale/${language}/LC_MESSAGES/kolvex.mo
    DESTINATION share/locale/${language}/LC_MESSAGES)
endforeach()
get_property(language_archives GLOBAL PROPERTY KOLVEX_LANGUAGE_ARCHIVES)
install(FILES ${language_archives} DESTINATION share/games/kolvex)
install(FILES ${deb_out}/kolvex.desktop DESTINATION share/applications)
install(FILES ${deb_out}/${metainfo} DESTINATION share/metainfo)
foreach(size ${icon_sizes})
  install(FILES ${deb_out}/icons/kolvex-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
    RENAME kolvex.png)
endforeach()
install(FILES ${linux_res}/copyright ${deb_out}/changelog.gz DESTINATION share/doc/kolvex)
install(FILES ${deb_out}/kolvex.6.gz DESTINATION share/man/man6)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kolvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Kolvex developers <developers@kolvex.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling-block puzzle game in a 3D well")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pieces of four blocks fall into a well ten cells wide and twenty deep;
move and turn them so that rows fill up completely, and full rows are
removed. Seven levels make the pieces fall faster. A challenge mode hides
the settled blocks. Everything is drawn in OpenGL as textured cubes.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies come from dpkg-shlibdeps. The Chinese menu and help
# text need a CJK face: the game asks fontconfig for one that covers Chinese,
# so any of Debian's three common CJK font packages serves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk | fonts-wqy-zenhei, libgl1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
