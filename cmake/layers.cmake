# Parts of a platform layer: each a static library with an explicit source list, linked
# only to the parts it names, and checked at build time so that a file includes headers
# of its own part and the parts below it only, and no two files include each other.
#
#   mirel_part(NAME <target> ROOT <folder the parts' include paths start below>
#              SOURCES <files> [DEPENDS <part targets>] [LINKS <other libraries>])
#
# A part's folder is its CMAKE_CURRENT_SOURCE_DIR; headers are included by their path
# from the repository root ("platform/posix/fs/posix_file.h").
function(mirel_part)
  cmake_parse_arguments(PART "" "NAME;ROOT" "SOURCES;DEPENDS;LINKS" ${ARGN})
  add_library(${PART_NAME} STATIC ${PART_SOURCES})
  target_include_directories(${PART_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${PART_NAME} PUBLIC ${PART_DEPENDS} ${PART_LINKS})

  file(RELATIVE_PATH folder ${PART_ROOT} ${CMAKE_CURRENT_SOURCE_DIR})
  if(folder STREQUAL "")
    set(folder ".")
  endif()
  # The folders this part may include from: its own and those of every part below it.
  set(allowed "${folder}")
  set(pending ${PART_DEPENDS})
  set(seen "")
  while(pending)
    list(POP_FRONT pending dependency)
    if(dependency IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${dependency})
    get_target_property(below ${dependency} MIREL_PART_FOLDER)
    if(below)
      list(APPEND allowed "${below}")
      get_target_property(further ${dependency} MIREL_PART_DEPENDS)
      if(further)
        list(APPEND pending ${further})
      endif()
    endif()
  endwhile()
  set_target_properties(${PART_NAME} PROPERTIES MIREL_PART_FOLDER "${folder}" MIREL_PART_DEPENDS "${PART_DEPENDS}")

  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  set(checked "")
  foreach(source ${PART_SOURCES} ${headers})
    get_filename_component(absolute ${source} ABSOLUTE)
    if(NOT absolute MATCHES "^${PROJECT_BINARY_DIR}")
      list(APPEND checked ${absolute})
    endif()
  endforeach()
  string(REPLACE ";" "|" allowedArgument "${allowed}")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${PART_NAME}.layers)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} "-DPART=${PART_NAME}" "-DROOT=${PART_ROOT}" "-DALLOWED=${allowedArgument}"
            "-DFILES=${checked}" "-DSTAMP=${stamp}" -P ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
    DEPENDS ${checked} ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
    COMMENT "Checking the includes of ${PART_NAME}"
    VERBATIM)
  add_custom_target(${PART_NAME}_layers DEPENDS ${stamp})
  add_dependencies(${PART_NAME} ${PART_NAME}_layers)
endfunction()
