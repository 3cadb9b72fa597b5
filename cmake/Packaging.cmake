# Installing like any desktop program, and the Debian package (make package).
#
# Layout under the prefix:
#   bin/vorn                                   (app/CMakeLists.txt)
#   lib/vorn/plugins/libvorn_paper.so          (ui/graph/qt/CMakeLists.txt); the SVG
#                                              writer and the printer, which the
#                                              program loads from ../lib/vorn/plugins
#   share/vorn/Vorn.qhc, Vorn.qch              (help/CMakeLists.txt); the program
#                                              finds them as ../share/vorn from bin/
#   share/applications/vorn.desktop            its ID matches setDesktopFileName
#   share/metainfo/io.github.tav.vorn.metainfo.xml
#   share/icons/hicolor/{scalable,48x48,128x128}/apps/vorn.{svg,png}
#   share/man/man1/vorn.1.gz                   packaging/vorn.1
#   share/doc/vorn/copyright, changelog.gz     packaging/copyright, changelog

set(vorn_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(vorn_icons ${PROJECT_SOURCE_DIR}/resources/icons)

install(FILES ${vorn_packaging}/vorn.desktop DESTINATION share/applications)
install(FILES ${vorn_packaging}/io.github.tav.vorn.metainfo.xml DESTINATION share/metainfo)
install(FILES ${vorn_icons}/vorn.svg DESTINATION share/icons/hicolor/scalable/apps)
install(FILES ${vorn_icons}/vorn-48.png DESTINATION share/icons/hicolor/48x48/apps
        RENAME vorn.png)
install(FILES ${vorn_icons}/vorn-128.png DESTINATION share/icons/hicolor/128x128/apps
        RENAME vorn.png)

# The manual page and the changelog compressed as Debian wants them: gzip -9n
# stores neither a name nor a time, so every build gives the same bytes.
include(GNUInstallDirs)
find_program(VORN_GZIP gzip REQUIRED)
set(vorn_compressed ${PROJECT_BINARY_DIR}/packaging)
add_custom_command(
  OUTPUT ${vorn_compressed}/vorn.1.gz ${vorn_compressed}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${vorn_compressed}
  COMMAND ${CMAKE_COMMAND} -E copy ${vorn_packaging}/vorn.1 ${vorn_packaging}/changelog
          ${vorn_compressed}
  COMMAND ${VORN_GZIP} -9nf ${vorn_compressed}/vorn.1 ${vorn_compressed}/changelog
  DEPENDS ${vorn_packaging}/vorn.1 ${vorn_packaging}/changelog
  COMMENT "Compressing the manual page and the changelog"
  VERBATIM)
add_custom_target(vorn_docs ALL
  DEPENDS ${vorn_compressed}/vorn.1.gz ${vorn_compressed}/changelog.gz)
install(FILES ${vorn_compressed}/vorn.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${vorn_packaging}/copyright ${vorn_compressed}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Stripped as Debian strips (dh_strip): without the compiler's .comment and
# the .note section. Runs only when the install is asked to strip, as cpack
# does with CPACK_STRIP_FILES; the install rules of app/ and ui/ have run by
# then.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
      --remove-section=.note --strip-unneeded
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/vorn\"
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/vorn/plugins/libvorn_paper.so\"
      COMMAND_ERROR_IS_FATAL ANY)
  endif()")

# The package: build/package/vorn_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorn)
set(CPACK_PACKAGE_VENDOR Tav)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese desktop weigh-in log")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Vorn２ works out fat mass, lean mass, water mass, standard weight, BMI and\n"
    "obesity degree from your height, weight and fat percentage, tells which of\n"
    "five bands the obesity degree falls in, appends each measurement to a plain\n"
    "text log and draws the history of any quantity against a target.\n"
    "Its interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Folders 0755 whatever the umask of whoever builds the package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vorn Developers <vorn-devel@users.noreply.github.io>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps adds the shared libraries the executable links, with their
# versions: libqt6widgets6, libqt6charts6, libqt6help6, libqt6svg6 (which
# also carries the SVG icon plugin that draws the toolbar's pictures greyed or
# highlighted), libqt6core6, libqt6gui6 (which carries the X11 platform
# plugin), libc6, libstdc++6. What it cannot see are the pieces Qt loads at
# run time: the SQLite driver that Qt Help reads its collection with, the
# other platform plugins, Qt's own Japanese texts and the font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6sql6-sqlite, qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic")
# Native windows in a Wayland session; without it Qt falls back to X11.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")

include(CPack)
