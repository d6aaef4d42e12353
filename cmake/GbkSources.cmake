# velmora_gbk_sources(OUT_VAR file...): for each UTF-8 source holding GBK
# texts, a build-tree copy whose non-ASCII characters are GBK octal escapes.
function(velmora_gbk_sources out_var)
    set(generated)
    foreach(source IN LISTS ARGN)
        get_filename_component(abs "${source}" ABSOLUTE)
        file(RELATIVE_PATH rel "${PROJECT_SOURCE_DIR}" "${abs}")
        set(output "${PROJECT_BINARY_DIR}/gbk/${rel}")
        get_filename_component(output_dir "${output}" DIRECTORY)
        add_custom_command(
            OUTPUT "${output}"
            COMMAND ${CMAKE_COMMAND} -E make_directory "${output_dir}"
            COMMAND $<TARGET_FILE:gbk_source> "${abs}" "${output}"
            DEPENDS "${abs}" gbk_source
            COMMENT "GBK texts of ${rel}"
            VERBATIM)
        list(APPEND generated "${output}")
    endforeach()
    set(${out_var} ${generated} PARENT_SCOPE)
endfunction()
