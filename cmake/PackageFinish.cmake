# Run by CPack after it makes each package (CPACK_POST_BUILD_SCRIPTS, set in
# cmake/BuildInfo.cmake): makes the zip and the tarball again from the staged
# files in a fixed order, owner, modes and time (CPack's archives take them
# from the builder's files), and writes the build-info file beside each package.
# The archives' one top folder is the staged folder itself, or inside it.
set(top "")
if(CPACK_INCLUDE_TOPLEVEL_DIRECTORY AND NOT IS_DIRECTORY ${CPACK_TEMPORARY_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME})
  set(top ${CPACK_PACKAGE_FILE_NAME})
endif()
foreach(package ${CPACK_PACKAGE_FILES})
  if(package MATCHES "\\.(zip|tar\\.gz)$")
    execute_process(COMMAND /usr/bin/python3 ${CPACK_KOLVEX_REPACK} ${package} ${CPACK_TEMPORARY_DIRECTORY}
                            ${CPACK_KOLVEX_EPOCH} ${top} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "could not make ${package} again in a fixed order")
    endif()
  endif()
  # CPack copies the package out of its working folder after this script.
  get_filename_component(name ${package} NAME)
  include(${CMAKE_CURRENT_LIST_DIR}/BuildInfoWrite.cmake)
  kolvex_write_build_info(${CPACK_PACKAGE_DIRECTORY}/${name})
endforeach()
