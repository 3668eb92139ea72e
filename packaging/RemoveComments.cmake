# Run by cpack (CPACK_PRE_BUILD_SCRIPTS) on the staging folder, after the programs are installed
# and stripped there and before the package is made. CMake's stripping keeps the .comment
# section, the compilers' version strings, which Debian's own package tools drop and lintian
# notes; it is dropped here as well. The package's md5sums are computed after this script.
file(GLOB programs "${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*")
if(NOT programs)
    message(FATAL_ERROR "no programs in ${CPACK_TEMPORARY_DIRECTORY}/usr/bin")
endif()
foreach(program IN LISTS programs)
    execute_process(COMMAND "${CPACK_TC8_OBJCOPY}" --remove-section=.comment "${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
