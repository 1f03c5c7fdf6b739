# Unity builds (the presets' CMAKE_UNITY_BUILD) compile a layer's sources a
# batch to one translation unit. A source that includes <windows.h> stays on
# its own: the Windows headers' macros (RGB, GetRValue, min) would rewrite the
# portable code batched after it.
function(pixmarl_keep_windows_sources_apart)
  foreach(source ${ARGN})
    file(STRINGS ${source} windows_includes REGEX "^[ \t]*#[ \t]*include[ \t]*<windows\\.h>")
    if(windows_includes)
      set_source_files_properties(${source} PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
  endforeach()
endfunction()

# pixmarl_layer(<name> <folder> DEPENDS ...): one static library per layer of
# the tree, built from every .cpp under its folder (subfolders included, the
# Windows-only COM shell excluded). Headers are reached from the tree root
# ("platform/bitmap.h").
function(pixmarl_layer name folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "/automation/com/")
  if(NOT WIN32)
    list(FILTER sources EXCLUDE REGEX "_win32\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_linux\\.cpp$")
  endif()
  if(NOT sources)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPENDS})
    return()
  endif()
  pixmarl_keep_windows_sources_apart(${sources})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
endfunction()
