# Read by CPack before it makes any package (CPACK_PROJECT_CONFIG_FILE, set in
# cmake/BuildInfo.cmake): hands the build's one time to CPack, which takes
# SOURCE_DATE_EPOCH only from its own environment, and to our scripts after it.
include(${CPACK_KOLVEX_SOURCE_DIR}/cmake/SourceDate.cmake)
kolvex_source_date_epoch(${CPACK_KOLVEX_SOURCE_DIR} ${CPACK_KOLVEX_RELEASE_DATE} CPACK_KOLVEX_EPOCH)
set(ENV{SOURCE_DATE_EPOCH} ${CPACK_KOLVEX_EPOCH})
# Any umask of the builder gives the staged folders the same modes.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
  WORLD_READ WORLD_EXECUTE)
