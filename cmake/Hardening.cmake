# Hardening and reproducibility of the optimised builds that players get.
#
# Linux: the distribution's hardening flags, taken from dpkg-buildflags with
# every hardening feature on (fortified string and memory functions, stack
# protector, full RELRO with immediate binding) and position-independent
# executables. The optimisation, debug and path-map flags it also gives are
# left out: the build type and the map below decide those.
#
# Windows (MinGW-w64): executables that Windows may load at a random address
# (ASLR, with the 64-bit builds anywhere in the address space) and whose data
# never runs (DEP), without a link time stamp in the PE header.
#
# The Release build also maps its source folder (which holds the build
# folders) away in the debug information and in assertion texts, so that the
# programs do not depend on where the tree was checked out.
option(WORLDSMITH_HARDEN "Harden the Release build (distribution flags, ASLR, DEP)" ON)

if(MSVC)
  return()
endif()
set(release "$<CONFIG:Release>")
add_compile_options("$<${release}:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>")

if(NOT WORLDSMITH_HARDEN)
  return()
endif()

if(WIN32)
  add_link_options("$<${release}:LINKER:--dynamicbase,--nxcompat,--no-insert-timestamp>")
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    add_link_options("$<${release}:LINKER:--high-entropy-va>")
  endif()
  return()
endif()

include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# dpkg-buildflags FLAG: its words that harden, without -g, -O* and path maps.
function(worldsmith_hardening_flags variable flag)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
            ${DPKG_BUILDFLAGS_EXECUTABLE} --get ${flag}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^(-g.*|-O.*|-f(file|debug|macro)-prefix-map=.*)$")
  set(${variable} ${flags} PARENT_SCOPE)
endfunction()

find_program(DPKG_BUILDFLAGS_EXECUTABLE dpkg-buildflags)
if(DPKG_BUILDFLAGS_EXECUTABLE)
  worldsmith_hardening_flags(cppflags CPPFLAGS)
  worldsmith_hardening_flags(cxxflags CXXFLAGS)
  worldsmith_hardening_flags(ldflags LDFLAGS)
else()
  # The same features where the distribution has no dpkg-buildflags.
  set(cppflags -D_FORTIFY_SOURCE=2)
  set(cxxflags -fstack-protector-strong -Wformat -Werror=format-security)
  set(ldflags -Wl,-z,relro -Wl,-z,now)
endif()
# A compiler that fortifies by default would warn of the redefinition.
list(PREPEND cppflags -U_FORTIFY_SOURCE)
message(STATUS "Hardening the Release build: ${cppflags} ${cxxflags} ${ldflags}")
foreach(flag IN LISTS cppflags cxxflags)
  add_compile_options("$<${release}:${flag}>")
endforeach()
foreach(flag IN LISTS ldflags)
  add_link_options("$<${release}:${flag}>")
endforeach()
