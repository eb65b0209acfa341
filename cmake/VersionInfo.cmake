# The commit a build comes from, read from git when CMake configures and
# written with the project's version into version_info.h in the build folder.
# Outside a git checkout (a source tarball) the commit reads "unknown".
find_package(Git QUIET)
set(WORLDSMITH_COMMIT "unknown")
if(GIT_FOUND)
  execute_process(
    COMMAND ${GIT_EXECUTABLE} describe --always --dirty --abbrev=10 --exclude "*"
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    OUTPUT_VARIABLE described
    RESULT_VARIABLE describeResult
    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(describeResult EQUAL 0 AND described)
    set(WORLDSMITH_COMMIT "${described}")
    # Configure again when HEAD moves, so that a new commit shows up in the
    # next build without a manual reconfigure.
    execute_process(
      COMMAND ${GIT_EXECUTABLE} rev-parse --git-path HEAD --symbolic-full-name HEAD
      WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
      OUTPUT_VARIABLE gitPaths
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    string(REPLACE "\n" ";" gitPaths "${gitPaths}")
    list(LENGTH gitPaths gitPathCount)
    if(gitPathCount EQUAL 2)
      list(GET gitPaths 0 headFile)
      list(GET gitPaths 1 headRef)
      execute_process(
        COMMAND ${GIT_EXECUTABLE} rev-parse --git-path ${headRef}
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE refFile
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      foreach(file ${headFile} ${refFile})
        get_filename_component(file ${file} ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
        if(EXISTS ${file})
          set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
        endif()
      endforeach()
    endif()
  endif()
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/version_info.h.in
               ${PROJECT_BINARY_DIR}/generated/version_info.h @ONLY)
add_library(worldsmith_version INTERFACE)
target_include_directories(worldsmith_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
