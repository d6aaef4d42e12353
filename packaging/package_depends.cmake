# Read by cpack: each package's Depends from dpkg-shlibdeps on its own ELF
# files. CPack's own scan is off because it adds ldconfig calls to any
# package with an ELF file under /usr/lib, and the skin engine there is no
# shared library anyone links.
#   VELMORA_WINDOW_ELF_FILES, VELMORA_BATCH_ELF_FILES: the files, and
#   VELMORA_SHLIBDEPS_DIR: a scratch folder, set by the generated file that
#   includes this one.

function(velmora_shlib_depends variable)
    set(work "${VELMORA_SHLIBDEPS_DIR}")
    file(WRITE "${work}/debian/control" "Source: velmora\n")
    execute_process(COMMAND dpkg-shlibdeps -O ${ARGN}
        WORKING_DIRECTORY "${work}"
        OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
    file(REMOVE_RECURSE "${work}")
    if(NOT status EQUAL 0 OR NOT output MATCHES "shlibs:Depends=([^\n]*)")
        message(FATAL_ERROR "dpkg-shlibdeps failed (${status}) on ${ARGN}:\n${errors}")
    endif()
    set(${variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

velmora_shlib_depends(window_libraries ${VELMORA_WINDOW_ELF_FILES})
velmora_shlib_depends(batch_libraries ${VELMORA_BATCH_ELF_FILES})
# Without a CJK font every Chinese text of the window renders as boxes.
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS "${window_libraries}, fonts-wqy-microhei")
set(CPACK_DEBIAN_BATCH_PACKAGE_DEPENDS "${batch_libraries}")
