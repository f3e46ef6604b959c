# The one time of a build, which every archive, package and installer gives
# its files: CPACK_KOLVEX_EPOCH, and SOURCE_DATE_EPOCH inside CPack. Asked
# for by cmake/CPackProject.cmake each time CPack runs, and by
# cmake/PackageMsi.cmake where the installer test runs it as a script.
#
# SOURCE_DATE_EPOCH when the builder sets it (the convention of reproducible
# builds); else the time of the commit the sources are, so that two clones of
# one commit agree; else, in a source tree that is no git clone, the release
# day. A clone git will not read (one owned by another user: "dubious
# ownership") stops the build with git's reason: its downloads would
# otherwise silently take the release day.
function(kolvex_source_date_epoch source_dir release_date out)
  if(DEFINED ENV{SOURCE_DATE_EPOCH} AND "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
    set(${out} $ENV{SOURCE_DATE_EPOCH} PARENT_SCOPE)
    return()
  endif()
  if(EXISTS ${source_dir}/.git)
    execute_process(COMMAND git -C ${source_dir} log -1 --format=%ct
      OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed ERROR_VARIABLE why)
    if(failed OR NOT epoch MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${source_dir} is a git clone, but git cannot tell its commit's time:\n${why}")
    endif()
  else()
    execute_process(COMMAND date -u -d "${release_date} 00:00" +%s
      OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(${out} ${epoch} PARENT_SCOPE)
endfunction()
