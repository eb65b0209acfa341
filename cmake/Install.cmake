# What `cmake --install` puts where. The programs everywhere; on Linux also
# what a desktop and a packager expect around them: the desktop entry, the
# icon, AppStream metadata, the save file's MIME type, man pages, completion
# for bash, zsh and fish, and the documentation.
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
set(WORLDSMITH_LICENSE "MIT"
    CACHE STRING "SPDX name of the project's licence, for the package and AppStream")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/${PROJECT_NAME})

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${docdir})
# The user guide with its pictures, which it links relatively.
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.ja.md ${PROJECT_SOURCE_DIR}/docs/guide.en.md
        DESTINATION ${docdir})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images/ DESTINATION ${docdir}/images
        FILES_MATCHING PATTERN "*.png")
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

# The programs whose manual pages and shell completions are installed.
set(documented_programs worldsmith-cli)
if(WORLDSMITH_BUILD_APP)
  list(APPEND documented_programs worldsmith)
endif()

# Manual pages, written by hand in man(7) troff (scripts/check-manpages lints
# them), compressed as Debian policy asks.
foreach(program ${documented_programs})
  set(page ${generated}/${program}.1.gz)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${GZIP_EXECUTABLE} -9 -n -c ${packaging}/man/${program}.1 > ${page}
    DEPENDS ${packaging}/man/${program}.1
    VERBATIM)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  list(APPEND packaging_outputs ${page})
endforeach()

# Shell completions where each shell looks for a command's completion when it
# is first needed. Debian's zsh reads packaged completions from
# vendor-completions and not from share/zsh/site-functions, which only its
# /usr/local copy is on zsh's path for; other systems may set the folder.
set(WORLDSMITH_ZSH_COMPLETION_DIR ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions
    CACHE STRING "Folder, below the prefix, of the zsh completion functions")
foreach(program ${documented_programs})
  install(FILES ${packaging}/completion/${program}.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${program})
  install(FILES ${packaging}/completion/_${program} DESTINATION ${WORLDSMITH_ZSH_COMPLETION_DIR})
  install(FILES ${packaging}/completion/${program}.fish
          DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)
endforeach()
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
