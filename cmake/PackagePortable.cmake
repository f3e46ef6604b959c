# The tarball for any Linux desktop, made by
# `cmake --build --preset portable --target package`:
# Kolvex-VERSION-linux-x86_64.tar.gz with one folder holding the game,
# data.qv, lib/ (cmake/Portable.cmake's libraries), the subset font, a
# read-me and every licence. The build's own bin/ is laid out the same way,
# so build/portable/bin/kolvex runs as the unpacked game does.

# Everything beside the program is found through its own folder.
set_target_properties(kolvex PROPERTIES BUILD_WITH_INSTALL_RPATH ON INSTALL_RPATH "\$ORIGIN/lib")
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
file(CREATE_LINK ${KOLVEX_THIRD_PARTY_LIB} ${CMAKE_BINARY_DIR}/bin/lib SYMBOLIC)

# The font, cut from the face the .deb's font matching picks.
set(portable_res ${PROJECT_SOURCE_DIR}/res/portable)
set(portable_out ${CMAKE_BINARY_DIR}/portable)
set(portable_font ${CMAKE_BINARY_DIR}/bin/${KOLVEX_BUNDLED_FONT})
include(${PROJECT_SOURCE_DIR}/cmake/GameFont.cmake)
kolvex_cut_game_font(${portable_font} ${portable_out})
configure_file(${portable_res}/README.txt.in ${portable_out}/README.txt @ONLY)

install(TARGETS kolvex RUNTIME DESTINATION .)
# The catalogues in the tarball's own folder, found beside data.qv.
foreach(language ${KOLVEX_LANGUAGES})
  install(FILES ${CMAKE_BINARY_DIR}/bin/locale/${language}/LC_MESSAGES/kolvex.mo
    DESTINATION locale/${language}/LC_MESSAGES)
endforeach()
get_property(language_archives GLOBAL PROPERTY KOLVEX_LANGUAGE_ARCHIVES)
install(FILES ${CMAKE_BINARY_DIR}/bin/data.qv ${language_archives} ${portable_font} ${portable_out}/README.txt
  DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# The libraries under their run-time names, as files (the prefix holds links).
foreach(library libSDL2-2.0.so.0 libSDL2_ttf-2.0.so.0 libGLU.so.1)
  file(REAL_PATH ${KOLVEX_THIRD_PARTY_LIB}/${library} library_file)
  install(FILES ${library_file} DESTINATION lib RENAME ${library})
endforeach()

# Licences: the libraries' own texts and Debian's copyright files of their
# source packages (build-libs.sh, which says which is which), else Debian's
# copyright file of the build root's package the static library or runtime
# comes from.
# cmake/portable/check-notices.py (the portable.notices test) checks them
# against what the libraries' builds compiled.
set(docs /usr/share/doc)
set(portable_licenses
  ${KOLVEX_THIRD_PARTY}/licenses/SDL2.txt SDL2.txt
  ${KOLVEX_THIRD_PARTY}/licenses/SDL2-copyright.txt SDL2-copyright.txt
  ${KOLVEX_THIRD_PARTY}/licenses/SDL2-yuv2rgb.txt SDL2-yuv2rgb.txt
  ${KOLVEX_THIRD_PARTY}/licenses/SDL2-hidapi.txt SDL2-hidapi.txt
  ${KOLVEX_THIRD_PARTY}/licenses/SDL2_ttf.txt SDL2_ttf.txt
  ${KOLVEX_THIRD_PARTY}/licenses/GLU.txt GLU.txt
  ${KOLVEX_THIRD_PARTY}/licenses/FreeType.txt FreeType.txt
  ${KOLVEX_THIRD_PARTY}/licenses/FreeType-copyright.txt FreeType-copyright.txt
  ${CMAKE_SYSROOT}${docs}/libjpeg62-turbo/copyright libjpeg-turbo.txt
  ${CMAKE_SYSROOT}${docs}/libstdc++6/copyright gcc-runtime-libraries.txt
  ${portable_out}/wqy-microhei.txt wqy-microhei.txt
  # The font's copyright file only points to Debian's copy of its licence.
  /usr/share/common-licenses/Apache-2.0 Apache-2.0.txt)
while(portable_licenses)
  list(POP_FRONT portable_licenses file name)
  install(FILES ${file} DESTINATION licenses RENAME ${name})
endwhile()

# The subset is a modified file of the font (Apache-2.0, section 4(b)): said
# first, before Debian's copyright file of the face it was cut from.
execute_process(COMMAND dpkg-query -W "-f=\${Version}" fonts-wqy-microhei OUTPUT_VARIABLE wqy_version)
file(READ ${docs}/fonts-wqy-microhei/copyright wqy_copyright)
file(WRITE ${portable_out}/wqy-microhei.txt
"${KOLVEX_BUNDLED_FONT} is a modified version of WenQuanYi Micro Hei: Kolvex's
build cut it from the face WenQuanYi Micro Hei Mono in wqy-microhei.ttc
(Debian's fonts-wqy-microhei ${wqy_version}), keeping only the glyphs of the
characters the game draws and no layout features. It is passed on under the
Apache License, Version 2.0, one of the two licences the font is offered
under; the full text is in Apache-2.0.txt beside this file. Debian's record of
the font's copyright holders and licences follows.

${wqy_copyright}")

set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME Kolvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Kolvex-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
