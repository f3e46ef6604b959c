# Run by CPack once the win32 zip is made (CPACK_POST_BUILD_SCRIPTS, set in
# cmake/Package.cmake): builds the installer with wixl from the files staged
# for the zip, so both carry the same stripped programs. The installer test
# also runs it as a script (cmake -P) to build other versions of the package.
if(NOT CPACK_KOLVEX_WIXL)
  message(FATAL_ERROR "making the installer needs wixl: run scripts/install-deps.sh package")
endif()
set(stage ${CPACK_TEMPORARY_DIRECTORY})
if(EXISTS ${stage}/${CPACK_PACKAGE_FILE_NAME}/Kolvex.exe)
  set(stage ${stage}/${CPACK_PACKAGE_FILE_NAME})
endif()
foreach(file Kolvex.exe Morvane.dll data.qv README.txt LICENSE.txt THIRD-PARTY.txt)
  if(NOT EXISTS ${stage}/${file})
    message(FATAL_ERROR "the installer's ${file} is not staged in ${stage}")
  endif()
endforeach()
# The cabinet records each file's time: the build's one time, as in the zip.
# (The installer test runs this as a script, outside CPack.)
if(NOT CPACK_KOLVEX_EPOCH)
  include(${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake)
  kolvex_source_date_epoch(${CPACK_KOLVEX_SOURCE_DIR} ${CPACK_KOLVEX_RELEASE_DATE} CPACK_KOLVEX_EPOCH)
endif()
foreach(file Kolvex.exe Morvane.dll data.qv README.txt LICENSE.txt THIRD-PARTY.txt)
  execute_process(COMMAND touch -d @${CPACK_KOLVEX_EPOCH} ${stage}/${file} COMMAND_ERROR_IS_FATAL ANY)
endforeach()
# wixl 0.101 would give every build a new random product code: the same
# version built twice would then install as two products. A name-based UUID
# of the version within the upgrade code is the same for every build of one
# version and new for each new version.
string(UUID product_code NAMESPACE ${CPACK_KOLVEX_UPGRADE_CODE} NAME "Kolvex ${CPACK_PACKAGE_VERSION}" TYPE SHA1 UPPER)
# wixl takes file names relative to the WiX source's folder only.
get_filename_component(wxs_dir ${CPACK_KOLVEX_WXS} DIRECTORY)
file(RELATIVE_PATH source_dir ${wxs_dir} ${stage})
file(RELATIVE_PATH icon ${wxs_dir} ${CPACK_KOLVEX_ICON})
execute_process(
  COMMAND ${CPACK_KOLVEX_WIXL} --arch x86 --define Version=${CPACK_PACKAGE_VERSION} --define ProductCode=${product_code}
          --define UpgradeCode=${CPACK_KOLVEX_UPGRADE_CODE} --define SourceDir=${source_dir} --define IconFile=${icon}
          --output ${CPACK_KOLVEX_MSI} ${CPACK_KOLVEX_WXS}
  RESULT_VARIABLE result)
# The package code names one set of installer bytes. wixl 0.101 draws a new
# one for every build (and ignores <Package Id>), and writes the clock into
# the summary information; msi-summary.py puts in the build's one time and a
# code made from the version and the installer's own bytes (with its code
# left out): the same for two builds of one commit, new for any change of
# the files, the WiX source, the icon or wixl.
if(result EQUAL 0)
  execute_process(COMMAND /usr/bin/python3 ${CMAKE_CURRENT_LIST_DIR}/msi-summary.py ${CPACK_KOLVEX_MSI}
                          ${CPACK_KOLVEX_EPOCH} ${CPACK_KOLVEX_UPGRADE_CODE} "Kolvex ${CPACK_PACKAGE_VERSION}"
    RESULT_VARIABLE result OUTPUT_VARIABLE package_code OUTPUT_STRIP_TRAILING_WHITESPACE)
endif()
if(NOT result EQUAL 0)
  file(REMOVE ${CPACK_KOLVEX_MSI})
  message(FATAL_ERROR "wixl could not build ${CPACK_KOLVEX_MSI}")
endif()
message(STATUS "- installer: ${CPACK_KOLVEX_MSI} generated, product code {${product_code}}, package code ${package_code}.")
if(CPACK_KOLVEX_BUILD_INFO)
  include(${CMAKE_CURRENT_LIST_DIR}/BuildInfoWrite.cmake)
  kolvex_write_build_info(${CPACK_KOLVEX_MSI})
endif()
