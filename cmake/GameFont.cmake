# The face the tarball and the page carry, cut at build time: the glyphs of
# printable ASCII, of every UTF-16 literal in the sources and of every
# catalogue's translations, from the face the .deb's font matching picks
# (index 1 of the collection, WenQuanYi Micro Hei Mono). Included by
# cmake/PackagePortable.cmake and cmake/PackageWeb.cmake:
#   kolvex_cut_game_font(FONT_FILE WORK_FOLDER) adds target game_font.
set(KOLVEX_GAME_FACE /usr/share/fonts/truetype/wqy/wqy-microhei.ttc)
function(kolvex_cut_game_font font work)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
  file(GLOB catalogues CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/po/*.po)
  list(APPEND sources ${catalogues})
  find_program(KOLVEX_PYFTSUBSET pyftsubset REQUIRED)
  add_custom_command(OUTPUT ${font}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${work}
    COMMAND /usr/bin/python3 ${PROJECT_SOURCE_DIR}/cmake/portable/game-glyphs.py ${work}/glyphs.txt ${sources}
    COMMAND ${KOLVEX_PYFTSUBSET} ${KOLVEX_GAME_FACE} --font-number=1 --text-file=${work}/glyphs.txt
            --layout-features= --name-IDs=* --output-file=${font}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/portable/game-glyphs.py ${sources} ${KOLVEX_GAME_FACE}
    COMMENT "Cutting the game's glyphs out of WenQuanYi Micro Hei"
    VERBATIM)
  add_custom_target(game_font ALL DEPENDS ${font})
endfunction()
