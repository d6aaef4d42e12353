# Windows has no public-suffix library: compile Debian's libpsl sources
# (scripts/setup fetches them) with the built-in list made from Debian's
# publicsuffix data by libpsl's own generator. No IDNA library: names reach
# it already in ASCII form.
set(VELMORA_PSL_SOURCE /usr/local/src/velmora/libpsl CACHE PATH "Debian's libpsl sources")
set(VELMORA_PSL_LIST /usr/share/publicsuffix/public_suffix_list.dat CACHE FILEPATH
    "The public suffix list built into libpsl")
if(NOT EXISTS ${VELMORA_PSL_SOURCE}/src/psl.c)
    message(FATAL_ERROR "libpsl sources missing in ${VELMORA_PSL_SOURCE}: run scripts/setup")
endif()
find_package(Python3 REQUIRED COMPONENTS Interpreter)

file(READ ${VELMORA_PSL_SOURCE}/version.txt LIBPSL_VERSION)
string(STRIP "${LIBPSL_VERSION}" LIBPSL_VERSION)
string(REPLACE "." ";" psl_version_parts "${LIBPSL_VERSION}")
list(GET psl_version_parts 0 LIBPSL_VERSION_MAJOR)
list(GET psl_version_parts 1 LIBPSL_VERSION_MINOR)
list(GET psl_version_parts 2 LIBPSL_VERSION_PATCH)
math(EXPR LIBPSL_VERSION_NUMBER
     "(${LIBPSL_VERSION_MAJOR} << 16) + (${LIBPSL_VERSION_MINOR} << 8) + ${LIBPSL_VERSION_PATCH}"
     OUTPUT_FORMAT HEXADECIMAL)

set(psl_generated ${CMAKE_BINARY_DIR}/libpsl)
configure_file(${VELMORA_PSL_SOURCE}/include/libpsl.h.in ${psl_generated}/include/libpsl.h @ONLY)
file(WRITE ${psl_generated}/config.h.new
     "#define PACKAGE_VERSION \"${LIBPSL_VERSION}\"\n"
     "#define ENABLE_BUILTIN 1\n"
     "#define HAVE_STDINT_H 1\n"
     "#define HAVE_UNISTD_H 1\n")
configure_file(${psl_generated}/config.h.new ${psl_generated}/config.h COPYONLY)

add_custom_command(
    OUTPUT ${psl_generated}/suffixes_dafsa.h
    COMMAND Python3::Interpreter ${VELMORA_PSL_SOURCE}/src/psl-make-dafsa
            --output-format=cxx+ ${VELMORA_PSL_LIST} ${psl_generated}/suffixes_dafsa.h
    DEPENDS ${VELMORA_PSL_LIST} ${VELMORA_PSL_SOURCE}/src/psl-make-dafsa
    COMMENT "Building libpsl's built-in public suffix list")

add_library(velmora_psl STATIC
    ${VELMORA_PSL_SOURCE}/src/psl.c
    ${VELMORA_PSL_SOURCE}/src/lookup_string_in_fixed_set.c
    ${psl_generated}/suffixes_dafsa.h)
target_include_directories(velmora_psl PRIVATE ${psl_generated} PUBLIC ${psl_generated}/include)
target_compile_definitions(velmora_psl PRIVATE HAVE_CONFIG_H BUILDING_PSL PUBLIC PSL_STATIC)
# Not our code: its warnings are not ours to fix.
target_compile_options(velmora_psl PRIVATE -w)
target_link_libraries(velmora_psl PRIVATE ws2_32)
