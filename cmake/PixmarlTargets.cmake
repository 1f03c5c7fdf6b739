# pixmarl_library(<name> SOURCES ... DEPENDS ...): one static library per layer,
# its headers reached from the tree root ("platform/bitmap.h").
function(pixmarl_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()
