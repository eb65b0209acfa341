# Flags shared by every target of the project.
add_library(worldsmith_options INTERFACE)
if(MSVC)
  target_compile_options(worldsmith_options INTERFACE /W4 /utf-8)
  if(WORLDSMITH_WERROR)
    target_compile_options(worldsmith_options INTERFACE /WX)
  endif()
else()
  target_compile_options(worldsmith_options INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Woverloaded-virtual
    -Wnull-dereference -Wimplicit-fallthrough)
  if(WORLDSMITH_WERROR)
    target_compile_options(worldsmith_options INTERFACE -Werror)
  endif()
endif()

if(WORLDSMITH_SANITIZE)
  add_compile_options(-fsanitize=${WORLDSMITH_SANITIZE} -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${WORLDSMITH_SANITIZE})
endif()

if(WORLDSMITH_BUILD_FUZZ)
  # Coverage for the fuzzers in every library they call.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# worldsmith_add_library(NAME SOURCES... LINKS ...) declares one layer's library.
function(worldsmith_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_LINKS} PRIVATE worldsmith_options)
endfunction()

# worldsmith_add_test(NAME SOURCES... LINKS ...) declares one GoogleTest binary.
function(worldsmith_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest GTest::gtest_main
                                        worldsmith_options)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # Under Wine the folder is given with its drive, as a Windows program sees it.
  set(test_tmp ${CMAKE_BINARY_DIR}/test-tmp)
  if(CMAKE_CROSSCOMPILING AND WIN32)
    set(test_tmp Z:${test_tmp})
  endif()
  # Backups of replaced saves and recovery files go below the test folder,
  # never into the user's own state folder.
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "WORLDSMITH_TEST_TMP=${test_tmp}"
                                  ENVIRONMENT_MODIFICATION
                                  "XDG_STATE_HOME=set:${CMAKE_BINARY_DIR}/test-tmp/state")
endfunction()

# worldsmith_add_layer_tests(LAYER LINKS ...) makes every *_test.cpp in the
# calling folder one test binary, named LAYER_<file>.
function(worldsmith_add_layer_tests layer)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  foreach(source ${test_sources})
    get_filename_component(name ${source} NAME_WE)
    worldsmith_add_test(${layer}_${name} SOURCES ${source} LINKS ${ARG_LINKS})
  endforeach()
endfunction()
