# The one time of a build, KOLVEX_SOURCE_DATE_EPOCH, from which every archive,
# package and installer takes its files' times. Included by cmake/BuildInfo.cmake
# at configure time and by cmake/CPackProject.cmake each time CPack runs.
#
# SOURCE_DATE_EPOCH when the builder sets it (the convention of reproducible
# builds); else the time of the commit the sources are, so that two clones of
# one commit agree; else, in a source tree without git, the release day.
function(kolvex_source_date_epoch source_dir release_date out)
  if(DEFINED ENV{SOURCE_DATE_EPOCH} AND "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
    set(${out} $ENV{SOURCE_DATE_EPOCH} PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND git -C ${source_dir} log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed ERROR_QUIET)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    execute_process(COMMAND date -u -d "${release_date} 00:00" +%s
      OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(${out} ${epoch} PARENT_SCOPE)
endfunction()
