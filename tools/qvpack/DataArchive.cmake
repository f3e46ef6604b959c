# Builds data.qv from art/ into the output folder, beside the game and
# Morvane.dll, and sets the global property KOLVEX_QVPACK to the qvpack that
# made it (for the test that checks the archive), and, for the native game,
# each language's data-LL.qv beside it. Included by morvane/.
# Windows and web builds compile qvpack for the host themselves, so no native build
# has to come first.
set(kolvex_archive_entries
  bk.jpg t1.jpg t2.jpg t3.jpg t4.jpg t5.jpg t6.jpg t7.jpg d.jpg j.jpg
  l1.jpg l2.jpg l3.jpg l4.jpg l5.jpg l6.jpg l7.jpg a1.jpg a2.jpg s1.jpg
  s2.jpg o1.jpg o2.jpg zp1.jpg zp2.jpg zp3.jpg zp4.jpg zp5.jpg zp6.jpg ss1.jpg
  down.wav move.wav s.wav)
set(kolvex_archive_inputs "")
foreach(entry IN LISTS kolvex_archive_entries)
  list(APPEND kolvex_archive_inputs ${PROJECT_SOURCE_DIR}/art/${entry})
endforeach()

if(WIN32 OR KOLVEX_WITH_PAGE)
  find_program(KOLVEX_HOST_CXX NAMES g++ c++ NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(qvpack_dir ${PROJECT_SOURCE_DIR}/tools/qvpack)
  set(morvane_dir ${PROJECT_SOURCE_DIR}/morvane)
  set(host_sources
    ${qvpack_dir}/Main.cpp ${qvpack_dir}/Qvpack.cpp ${qvpack_dir}/AssetChecks.cpp
    ${morvane_dir}/Crc32.cpp ${morvane_dir}/ArchiveIndex.cpp ${morvane_dir}/ArchiveWriter.cpp ${morvane_dir}/Wav.cpp
    ${morvane_dir}/Morvane.cpp ${morvane_dir}/JpegDecodeLibjpeg.cpp ${morvane_dir}/JpegRule.cpp)
  file(GLOB host_headers ${qvpack_dir}/*.h ${morvane_dir}/*.h ${PROJECT_SOURCE_DIR}/src/assets/AssetLibrary.h)
  set(qvpack_command ${CMAKE_BINARY_DIR}/host/qvpack)
  add_custom_command(OUTPUT ${qvpack_command}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${KOLVEX_HOST_CXX} -std=c++20 -O2 -Wall -Wextra -Werror
            -I${PROJECT_SOURCE_DIR} -I${PROJECT_SOURCE_DIR}/src -I${qvpack_dir}
            ${host_sources} -ljpeg -o ${qvpack_command}
    DEPENDS ${host_sources} ${host_headers}
    COMMENT "Building qvpack for the host"
    VERBATIM)
  set(qvpack_depends ${qvpack_command})
else()
  set(qvpack_command $<TARGET_FILE:qvpack>)
  set(qvpack_depends qvpack)
endif()

set(kolvex_archive ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/data.qv)
add_custom_command(OUTPUT ${kolvex_archive}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
  COMMAND ${qvpack_command} create ${kolvex_archive} ${kolvex_archive_inputs}
  DEPENDS ${qvpack_depends} ${kolvex_archive_inputs}
  COMMENT "Packing art/ into data.qv"
  VERBATIM)
# Each language's lettered pictures (art/LL/, made by art/generate.py from
# po/LL.po), packed and checked as data-LL.qv: the native game reads a
# picture there first. The Windows program keeps its own pictures. A refused
# archive is never left where the next build would take it as made.
set(kolvex_language_archives "")
if(NOT WIN32)
  file(GLOB kolvex_art_items LIST_DIRECTORIES true CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/art/*)
  foreach(folder IN LISTS kolvex_art_items)
    if(NOT IS_DIRECTORY ${folder})
      continue()
    endif()
    get_filename_component(language ${folder} NAME)
    file(GLOB pictures CONFIGURE_DEPENDS ${folder}/*.jpg)
    set(language_archive ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/data-${language}.qv)
    add_custom_command(OUTPUT ${language_archive}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
      COMMAND ${qvpack_command} create ${language_archive}.new ${pictures}
      COMMAND ${qvpack_command} check --language ${language_archive}.new
      COMMAND ${CMAKE_COMMAND} -E rename ${language_archive}.new ${language_archive}
      DEPENDS ${qvpack_depends} ${pictures}
      COMMENT "Packing art/${language}/ into data-${language}.qv"
      VERBATIM)
    list(APPEND kolvex_language_archives ${language_archive})
  endforeach()
endif()
add_custom_target(data_archive ALL DEPENDS ${kolvex_archive} ${kolvex_language_archives})
set_property(GLOBAL PROPERTY KOLVEX_QVPACK ${qvpack_command})
set_property(GLOBAL PROPERTY KOLVEX_DATA_ARCHIVE ${kolvex_archive})
set_property(GLOBAL PROPERTY KOLVEX_LANGUAGE_ARCHIVES ${kolvex_language_archives})
