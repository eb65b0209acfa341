# CPack: a Debian package and a tarball of what cmake/Install.cmake installs.
#   cpack -G "DEB;TGZ" -B dist      (scripts/package-linux does it)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "The Worldsmith developers")
set(CPACK_PACKAGE_CONTACT "${WORLDSMITH_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "world editor for a Japanese role-playing game")
# Lines as the package shows them: Debian's tools want them under 80 columns.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Worldsmith composes a new world from up to four of the game's areas on a"
  "world map, chooses which of each area's objects (dungeon entrances, houses)"
  "the world uses, names it, and writes a save file that the game loads. It"
  "reads such save files back and shows their areas again."
  ""
  "worldsmith-cli is a scriptable tool over the same core: it packs, unpacks"
  "and inspects save files, lists the game's areas and their objects, draws"
  "area previews and builds worlds from JSON descriptions.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR "DEB;TGZ")

# The tarball unpacks into one folder named for the version and the machine.
set(CPACK_PACKAGE_FILE_NAME
    "${PROJECT_NAME}-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}")
string(TOLOWER "${CPACK_PACKAGE_FILE_NAME}" CPACK_PACKAGE_FILE_NAME)

# The Debian package: named and versioned as Debian names them, its library
# dependencies worked out by dpkg-shlibdeps from the programs themselves.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${WORLDSMITH_MAINTAINER}")
# A tool for a game, not a game: Debian keeps "games" for packages that are.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The editor's window shows Japanese text: a font that has it.
# Qt's own translations put its dialogs and question box into the desktop's
# language; dpkg-shlibdeps cannot see them, as they are data, not libraries.
if(WORLDSMITH_BUILD_APP)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
endif()

include(CPack)
