# The dependencies of a Windows cross build. Debian ships them for Linux only,
# so GoogleTest is built from its source package with the cross compiler, and
# the header-only libraries are taken from Debian's headers through a folder
# that holds just their include directories: adding the host's /usr/include
# would let the cross compiler pick up Linux system headers.
#
# find_package() for these packages finds the targets made here through
# small config files in CMake's package redirect folder, which every
# find_package() call consults first.

set(WORLDSMITH_GOOGLETEST_SOURCE /usr/src/googletest
    CACHE PATH "GoogleTest sources for the cross build (Debian package googletest)")
set(WORLDSMITH_HOST_INCLUDE_DIR /usr/include
    CACHE PATH "Where the host keeps the header-only libraries' include folders")

# Header-only libraries: one folder of links to their include directories.
set(third_party_include ${CMAKE_BINARY_DIR}/third_party/include)
file(MAKE_DIRECTORY ${third_party_include})
foreach(header_dir CLI nlohmann stb)
  if(NOT EXISTS ${WORLDSMITH_HOST_INCLUDE_DIR}/${header_dir})
    message(FATAL_ERROR "${WORLDSMITH_HOST_INCLUDE_DIR}/${header_dir} is missing; run scripts/setup")
  endif()
  file(CREATE_LINK ${WORLDSMITH_HOST_INCLUDE_DIR}/${header_dir} ${third_party_include}/${header_dir}
       SYMBOLIC)
endforeach()
# stb has no CMake package; its users include <stb/...> directly.
include_directories(SYSTEM ${third_party_include})

add_library(worldsmith_cli11 INTERFACE)
target_include_directories(worldsmith_cli11 SYSTEM INTERFACE ${third_party_include})
add_library(CLI11::CLI11 ALIAS worldsmith_cli11)

add_library(worldsmith_nlohmann_json INTERFACE)
target_include_directories(worldsmith_nlohmann_json SYSTEM INTERFACE ${third_party_include})
add_library(nlohmann_json::nlohmann_json ALIAS worldsmith_nlohmann_json)

# GoogleTest with GoogleMock, built only when a test links them.
if(WORLDSMITH_BUILD_TESTS)
  if(NOT EXISTS ${WORLDSMITH_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "${WORLDSMITH_GOOGLETEST_SOURCE} holds no GoogleTest sources; run scripts/setup")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${WORLDSMITH_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(gtest_target gtest gtest_main gmock gmock_main)
    set_target_properties(${gtest_target} PROPERTIES SYSTEM ON)
  endforeach()
endif()

foreach(package cli11 nlohmann_json gtest)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${package}-config.cmake
       "# Provided by cmake/mingw_dependencies.cmake for the cross build.\n")
endforeach()
