# One library per product folder, each linking only the folders below it that it uses.
#
# All folders sit under one source root, so a plain include directory would let any
# folder include any other. Instead each library compiles against an include root of its
# own in the build tree (layers/<folder>/), holding symbolic links to its own folder and
# to the folders of its dependencies, direct or indirect, and to nothing else: an
# include from a higher folder, or from one it does not declare, names no file there and
# the compiler stops. tools/layers/check_layers.py checks the same order over the
# #include lines, and also catches a path that climbs out with "../".

set(TUNOVA_LAYER_ROOTS ${CMAKE_BINARY_DIR}/layers)

# tunova_layer(<folder> [DEPENDS <folder>...]): the library tunova_<folder> of the
# folder's sources; dependencies must be declared before it.
function(tunova_layer folder)
  cmake_parse_arguments(LAYER "" "" "DEPENDS" ${ARGN})
  set(visible ${folder})
  set(libraries)
  foreach(dependency ${LAYER_DEPENDS})
    if(NOT TARGET tunova_${dependency})
      message(FATAL_ERROR "layer ${folder} depends on ${dependency}, which is not declared below it")
    endif()
    get_property(seen GLOBAL PROPERTY TUNOVA_LAYER_VISIBLE_${dependency})
    list(APPEND visible ${seen})
    list(APPEND libraries tunova_${dependency})
  endforeach()
  list(REMOVE_DUPLICATES visible)
  set_property(GLOBAL PROPERTY TUNOVA_LAYER_VISIBLE_${folder} ${visible})

  set(root ${TUNOVA_LAYER_ROOTS}/${folder})
  file(MAKE_DIRECTORY ${root})
  file(GLOB present LIST_DIRECTORIES true RELATIVE ${root} ${root}/*)
  foreach(entry ${present})
    if(NOT entry IN_LIST visible)
      file(REMOVE ${root}/${entry})
    endif()
  endforeach()
  foreach(shown ${visible})
    if(NOT IS_SYMLINK ${root}/${shown})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${shown} ${root}/${shown} SYMBOLIC)
    endif()
  endforeach()

  tunova_collect_sources(sources ${folder})
  if(sources)
    add_library(tunova_${folder} STATIC ${sources})
    target_include_directories(tunova_${folder} PRIVATE ${root})
    target_link_libraries(tunova_${folder} PUBLIC ${libraries})
  else()
    add_library(tunova_${folder} INTERFACE)
    target_link_libraries(tunova_${folder} INTERFACE ${libraries})
  endif()
endfunction()
