# Writes DOWNLOAD.build-info.txt beside one download: the commit, the build's
# one time and the tools' versions cmake/BuildInfo.cmake recorded. Included by
# cmake/PackageFinish.cmake and cmake/PackageMsi.cmake inside CPack.
function(kolvex_write_build_info download)
  # No clone, no commit; a clone git will not read stops the package with
  # git's reason rather than pass for sources without history.
  if(EXISTS ${CPACK_KOLVEX_SOURCE_DIR}/.git)
    execute_process(COMMAND git -C ${CPACK_KOLVEX_SOURCE_DIR} rev-parse --verify HEAD
      OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed ERROR_VARIABLE why)
    if(failed OR NOT commit MATCHES "^[0-9a-f]+$")
      message(FATAL_ERROR "${CPACK_KOLVEX_SOURCE_DIR} is a git clone, but git cannot tell its commit:\n${why}")
    endif()
  else()
    set(commit "none (not built from a git clone)")
  endif()
  file(READ ${CPACK_KOLVEX_BUILD_INFO} tools)
  if(CPACK_KOLVEX_SOURCE_VERSIONS AND EXISTS ${CPACK_KOLVEX_SOURCE_VERSIONS})
    file(STRINGS ${CPACK_KOLVEX_SOURCE_VERSIONS} versions)
    list(JOIN versions "\n  " versions)
    string(APPEND tools "Debian 12 source packages built into lib/:\n  ${versions}\n")
  endif()
  get_filename_component(name ${download} NAME)
  file(WRITE ${download}.build-info.txt "How ${name} was made. The same Debian 12 packages, a clone of the
same commit and `cmake --preset PRESET && cmake --build --preset PRESET --target package`
make it again byte for byte; compare its SHA-256 sum.

Kolvex ${CPACK_PACKAGE_VERSION}
Commit: ${commit}
SOURCE_DATE_EPOCH: ${CPACK_KOLVEX_EPOCH}
${tools}")
endfunction()
