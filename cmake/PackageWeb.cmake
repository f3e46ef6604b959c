# The page: build/web/site/ holds index.html, kolvex.js and kolvex.wasm and
# the files the page puts in the game's file system (data.qv, the language
# archives, the catalogues, the subset face), one folder any static host
# serves; `cmake --build --preset web --target package` zips it with the
# licences as Kolvex-VERSION-web.zip. Included by the top CMakeLists.txt.
set(site ${CMAKE_BINARY_DIR}/site)
set_target_properties(kolvex PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${site})
target_link_options(kolvex PRIVATE ${KOLVEX_PAGE_LINK_OPTIONS})

include(${PROJECT_SOURCE_DIR}/cmake/GameFont.cmake)
kolvex_cut_game_font(${site}/${KOLVEX_BUNDLED_FONT} ${CMAKE_BINARY_DIR}/page)

get_property(data_archive GLOBAL PROPERTY KOLVEX_DATA_ARCHIVE)
get_property(language_archives GLOBAL PROPERTY KOLVEX_LANGUAGE_ARCHIVES)
set(page_files ${KOLVEX_BUNDLED_FONT})
set(page_copies "")
foreach(archive ${data_archive} ${language_archives})
  get_filename_component(name ${archive} NAME)
  list(APPEND page_files ${name})
  add_custom_command(OUTPUT ${site}/${name} COMMAND ${CMAKE_COMMAND} -E copy ${archive} ${site}/${name}
    DEPENDS ${archive} VERBATIM)
  list(APPEND page_copies ${site}/${name})
endforeach()
foreach(language ${KOLVEX_LANGUAGES})
  set(catalogue locale/${language}/LC_MESSAGES/kolvex.mo)
  list(APPEND page_files ${catalogue})
  add_custom_command(OUTPUT ${site}/${catalogue}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/bin/${catalogue} ${site}/${catalogue}
    DEPENDS ${CMAKE_BINARY_DIR}/bin/${catalogue} VERBATIM)
  list(APPEND page_copies ${site}/${catalogue})
endforeach()
list(SORT page_files)
list(JOIN page_files "\", \"" joined)
set(KOLVEX_PAGE_FILES "[\"${joined}\"]")
set(KOLVEX_PAGE_SCRIPT kolvex.js)
configure_file(${PROJECT_SOURCE_DIR}/res/web/index.html.in ${site}/index.html @ONLY)
if(TARGET frame_shots)
  # The frame comparison's page, served from a copy of the site beside it.
  set(KOLVEX_PAGE_SCRIPT frame_shots.js)
  configure_file(${PROJECT_SOURCE_DIR}/res/web/index.html.in ${CMAKE_BINARY_DIR}/frames/index.html @ONLY)
endif()
# The game's icon as the page's.
add_custom_command(OUTPUT ${site}/favicon.ico
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/art/kolvex.ico ${site}/favicon.ico
  DEPENDS ${PROJECT_SOURCE_DIR}/art/kolvex.ico VERBATIM)
add_custom_target(site ALL DEPENDS ${page_copies} ${site}/favicon.ico)
add_dependencies(site data_archive catalogues)

install(FILES ${site}/index.html ${site}/favicon.ico ${site}/kolvex.js ${site}/kolvex.wasm DESTINATION .)
foreach(file ${page_files})
  get_filename_component(folder ${file} DIRECTORY)
  install(FILES ${site}/${file} DESTINATION ./${folder})
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
foreach(notice SDL2.txt FreeType.txt SDL2_ttf.txt libjpeg-turbo.md)
  install(FILES ${KOLVEX_THIRD_PARTY}/licenses/${notice} DESTINATION licenses)
endforeach()
install(FILES /usr/share/common-licenses/Apache-2.0 DESTINATION licenses RENAME Apache-2.0.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Kolvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Kolvex-${PROJECT_VERSION}-web)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
