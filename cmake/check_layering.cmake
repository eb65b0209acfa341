# Fails when a source file includes a header of a layer it may not use.
#
#   cmake -DSOURCE_DIR=<src> -DRULES=<file> -P check_layering.cmake
#
# RULES holds one line per layer: "<layer>:<layer it may include>;..." (the
# layer itself and everything it links, directly or not). It is written at
# configure time from the libraries' link lists, so the link graph in CMake is
# the one statement of the layering and this check holds the includes to it.
cmake_minimum_required(VERSION 3.25)
file(STRINGS ${RULES} rule_lines)
set(layers)
foreach(line ${rule_lines})
  string(REPLACE ":" ";" parts "${line}")
  list(GET parts 0 layer)
  list(REMOVE_AT parts 0)
  list(APPEND layers ${layer})
  set(allowed_${layer} ${parts})
endforeach()

set(violations 0)
foreach(layer ${layers})
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"[a-z0-9_]+/")
    foreach(include ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]+\"([a-z0-9_]+)/.*" "\\1" used "${include}")
      if(NOT used IN_LIST layers)
        continue()  # a folder that is no layer of ours
      endif()
      if(NOT used IN_LIST allowed_${layer})
        file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
        message(SEND_ERROR "${shown}: layer '${layer}' includes a header of '${used}', "
                           "which it does not link: ${include}")
        math(EXPR violations "${violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) across the layering")
endif()
list(LENGTH layers layer_count)
message(STATUS "layering: the includes of ${layer_count} layers keep to their links")
