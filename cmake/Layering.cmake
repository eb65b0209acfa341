# The layers of src/, lowest first, each with the library that holds it. A
# layer may include its own headers and those of the layers its library
# links (directly or through another layer); the test "layering" checks every
# #include of src/ against that.
set(WORLDSMITH_LAYERS
  platform=worldsmith_platform
  codec=worldsmith_codec
  canvas=worldsmith_canvas
  gamedata=worldsmith_gamedata
  world=worldsmith_world
  editor=worldsmith_editor
  demo=worldsmith_demo
  cli=worldsmith_cli_commands
  app_qt=worldsmith_app_qt
  app_win32=worldsmith_app_win32)

# Collects into `out` the project libraries that `target` links, transitively.
function(worldsmith_linked_libraries target out)
  set(found ${${out}})
  get_target_property(links ${target} LINK_LIBRARIES)
  if(links)
    foreach(link ${links})
      if(TARGET ${link} AND link MATCHES "^worldsmith_" AND NOT link IN_LIST found)
        list(APPEND found ${link})
        worldsmith_linked_libraries(${link} found)
      endif()
    endforeach()
  endif()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Writes the rules file and registers the test. Layers whose library this
# build leaves out (the windows of the other system) are not checked here.
function(worldsmith_add_layering_test)
  set(rules "")
  foreach(pair ${WORLDSMITH_LAYERS})
    string(REPLACE "=" ";" pair ${pair})
    list(GET pair 0 layer)
    list(GET pair 1 library)
    set(layer_of_${library} ${layer})
  endforeach()
  foreach(pair ${WORLDSMITH_LAYERS})
    string(REPLACE "=" ";" pair ${pair})
    list(GET pair 0 layer)
    list(GET pair 1 library)
    if(NOT TARGET ${library})
      continue()
    endif()
    set(linked "")
    worldsmith_linked_libraries(${library} linked)
    set(allowed ${layer})
    foreach(link ${linked})
      if(DEFINED layer_of_${link})
        list(APPEND allowed ${layer_of_${link}})
      endif()
    endforeach()
    list(JOIN allowed ";" allowed)
    string(APPEND rules "${layer}:${allowed}\n")
  endforeach()
  file(WRITE ${CMAKE_BINARY_DIR}/layering-rules.txt "${rules}")
  add_test(NAME layering
           COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}/src
                   -DRULES=${CMAKE_BINARY_DIR}/layering-rules.txt
                   -P ${PROJECT_SOURCE_DIR}/cmake/check_layering.cmake)
endfunction()
