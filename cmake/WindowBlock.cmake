# velmora_window_block(OUT_VAR SOURCE file HANDLERS list SYMBOL [ns::]name
#                      [FILES generated files ...]):
# compiles a window source into a generated C++ file that holds the stored
# window block as the array `name` with its length in `nameSize`. The source
# names its files (icons, cursors) by name; FILES are built ones it may name,
# found in their own directories after the source's.
function(velmora_window_block out_var)
    cmake_parse_arguments(W "" "SOURCE;HANDLERS;SYMBOL" "FILES" ${ARGN})
    set(file_options)
    foreach(file ${W_FILES})
        get_filename_component(file_dir "${file}" DIRECTORY)
        list(APPEND file_options --files "${file_dir}")
    endforeach()
    get_filename_component(source "${W_SOURCE}" ABSOLUTE)
    get_filename_component(handlers "${W_HANDLERS}" ABSOLUTE)
    file(RELATIVE_PATH rel "${PROJECT_SOURCE_DIR}" "${source}")
    set(output "${PROJECT_BINARY_DIR}/window_blocks/${rel}.cpp")
    get_filename_component(output_dir "${output}" DIRECTORY)
    add_custom_command(
        OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${output_dir}"
        COMMAND $<TARGET_FILE:window_source_compiler> --handlers "${handlers}"
                --source "${source}" ${file_options} --cpp "${output}" --symbol "${W_SYMBOL}"
        DEPENDS "${source}" "${handlers}" ${W_FILES} window_source_compiler
        COMMENT "Window block of ${rel}"
        VERBATIM)
    set(${out_var} "${output}" PARENT_SCOPE)
endfunction()
