# kv_string_table(<target> <Name> <strings.tsv>)
# Compiles a string table (lines "id<TAB>text", text with C escapes, lines
# starting with "#" ignored) into <target>. The table is reached through the
# generated header "kvres/<Name>Strings.h":
#   const platform::StringTable& kvres::<Name>Strings();
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(kv_string_table target name tsv)
  set(outdir ${CMAKE_BINARY_DIR}/generated)
  set(header ${outdir}/kvres/${name}Strings.h)
  set(source ${outdir}/kvres/${name}Strings.cpp)
  add_custom_command(
    OUTPUT ${header} ${source}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/cmake/strings_to_cpp.py
            ${name} ${tsv} ${header} ${source}
    DEPENDS ${tsv} ${PROJECT_SOURCE_DIR}/cmake/strings_to_cpp.py
    COMMENT "String table ${name}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source} ${header})
  target_include_directories(${target} PUBLIC ${outdir})
endfunction()
