# The UTF-16 to code page 932 table used for the ANSI target path of shell links,
# generated at build time from the C library's converter.
add_executable(mirel_gen_cp932_table ${CMAKE_CURRENT_LIST_DIR}/gen_cp932_table.cpp)
set(MIREL_CP932_TABLE ${CMAKE_CURRENT_BINARY_DIR}/cp932_table.cpp)
add_custom_command(
  OUTPUT ${MIREL_CP932_TABLE}
  COMMAND mirel_gen_cp932_table ${MIREL_CP932_TABLE}
  DEPENDS mirel_gen_cp932_table
  COMMENT "Generating the code page 932 table"
  VERBATIM)
target_sources(mirel_posix_codepage PRIVATE ${MIREL_CP932_TABLE})
