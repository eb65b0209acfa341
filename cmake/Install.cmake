# What `cmake --install` puts where. The programs everywhere; on Linux also
# what a desktop and a packager expect around them: the desktop entry, the
# icon, AppStream metadata, the save file's MIME type, man pages, bash
# completion and the documentation.
include(GNUInstallDirs)

# Folders as Debian wants them, whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

install(TARGETS worldsmith-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(WORLDSMITH_BUILD_APP)
  install(TARGETS worldsmith RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(NOT UNIX OR CMAKE_CROSSCOMPILING)
  return()
endif()

# Reverse-DNS name of the desktop entry and the AppStream component.
set(WORLDSMITH_APP_ID "org.worldsmith.Worldsmith")
set(WORLDSMITH_MAINTAINER "The Worldsmith developers <worldsmith@example.org>"
    CACHE STRING "Maintainer named in the package and its changelog")
set(WORLDSMITH_LICENSE "LicenseRef-proprietary"
    CACHE STRING "SPDX name of the project's licence, for the package and AppStream")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})

install(FILES ${packaging}/worldsmith-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME worldsmith-cli)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${docdir})
# The JSON Schemas of the world file and of the command line's JSON output.
install(DIRECTORY ${packaging}/schema/ DESTINATION ${CMAKE_INSTALL_DATADIR}/worldsmith/schema
        FILES_MATCHING PATTERN "*.schema.json")

# The Debian changelog and copyright file, which a package's documentation
# folder must hold; the changelog compressed as Debian policy asks.
configure_file(${packaging}/changelog.in ${generated}/changelog @ONLY)
configure_file(${packaging}/copyright.in ${generated}/copyright @ONLY)
find_program(GZIP_EXECUTABLE gzip REQUIRED)
add_custom_command(
  OUTPUT ${generated}/changelog.gz
  COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${generated}/changelog > ${generated}/changelog.gz
  DEPENDS ${generated}/changelog
  VERBATIM)
install(FILES ${generated}/changelog.gz ${generated}/copyright DESTINATION ${docdir})
set(packaging_outputs ${generated}/changelog.gz)

# Man pages made by help2man from each program's --help and --version, with
# the sections of packaging/<program>.h2m added. Without help2man (a plain
# user's build) there are none.
find_program(HELP2MAN_EXECUTABLE help2man)
set(man_programs worldsmith-cli)
if(WORLDSMITH_BUILD_APP)
  list(APPEND man_programs worldsmith)
endif()
set(man_summary_worldsmith-cli "compose, pack and inspect save files of the game's worlds")
set(man_summary_worldsmith "world editor for the game's save files")
# The command-line tool's page lists every command's options.
set(man_help_option_worldsmith-cli --help-all)
set(man_help_option_worldsmith --help)
if(HELP2MAN_EXECUTABLE)
  foreach(program ${man_programs})
    set(page ${generated}/${program}.1)
    add_custom_command(
      OUTPUT ${page}.gz
      # The window program answers --help without a display.
      COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
              ${HELP2MAN_EXECUTABLE} --no-info --no-discard-stderr --section=1
              --help-option=${man_help_option_${program}}
              "--name=${man_summary_${program}}" --include=${packaging}/${program}.h2m
              --output=${page} $<TARGET_FILE:${program}>
      COMMAND ${GZIP_EXECUTABLE} -9 -n -f ${page}
      DEPENDS ${program} ${packaging}/${program}.h2m
      VERBATIM)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    list(APPEND packaging_outputs ${page}.gz)
  endforeach()
else()
  message(STATUS "help2man not found: no man pages (scripts/setup --package installs it)")
endif()
add_custom_target(worldsmith_packaging_files ALL DEPENDS ${packaging_outputs})

if(NOT WORLDSMITH_BUILD_APP)
  return()
endif()

# The editor's place on the desktop: its entry, icon, metadata, and the
# MIME type that lets file managers open save files with it.
install(FILES ${packaging}/${WORLDSMITH_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(${packaging}/${WORLDSMITH_APP_ID}.metainfo.xml.in
               ${generated}/${WORLDSMITH_APP_ID}.metainfo.xml @ONLY)
install(FILES ${generated}/${WORLDSMITH_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${packaging}/worldsmith-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME worldsmith.xml)
set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${packaging}/icons/worldsmith.svg DESTINATION ${icons}/scalable/apps)
foreach(size 48 256)
  install(FILES ${packaging}/icons/worldsmith-${size}.png DESTINATION ${icons}/${size}x${size}/apps
          RENAME worldsmith.png)
endforeach()
