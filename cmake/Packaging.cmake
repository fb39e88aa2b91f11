# Installation as a desktop program, and the Debian package built by CPack.
#
#   cmake --install BUILD --prefix /usr      programs, launcher, icons, .vor file type
#   cd BUILD && cpack -G DEB                 mirukana_<version>_<arch>.deb
#
# scripts/package.sh does both steps for a Release build.

include(GNUInstallDirs)

set(MK_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(MK_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

install(TARGETS mirukana mirukana-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The launcher (the file manager hands it the project's path: Exec=mirukana %f)
# and the project file type application/x-mirukana-project (*.vor).  Debian's
# desktop-file-utils, shared-mime-info and hicolor-icon-theme rebuild their
# caches from these folders by dpkg triggers, so the package needs no scripts.
install(FILES ${MK_PACKAGING_DIR}/mirukana.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MK_PACKAGING_DIR}/mirukana.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)

# Icons: the program's, and the project file type's.  Scalable always; PNG
# sizes for desktops that want them, when rsvg-convert (librsvg2-bin) is
# there to draw them from the SVG.
set(MK_ICONS
    "mirukana:apps"
    "application-x-mirukana-project:mimetypes")
find_program(MK_RSVG_CONVERT rsvg-convert)
if(NOT MK_RSVG_CONVERT)
  message(STATUS "rsvg-convert not found: only scalable icons are installed")
endif()
set(MK_PNG_ICONS)
foreach(entry IN LISTS MK_ICONS)
  string(REPLACE ":" ";" parts "${entry}")
  list(GET parts 0 name)
  list(GET parts 1 context)
  install(FILES ${MK_PACKAGING_DIR}/${name}.svg DESTINATION ${MK_ICON_DIR}/scalable/${context})
  if(MK_RSVG_CONVERT)
    foreach(size 48 256)
      set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/${name}.png)
      add_custom_command(
        OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
        COMMAND ${MK_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${MK_PACKAGING_DIR}/${name}.svg
        DEPENDS ${MK_PACKAGING_DIR}/${name}.svg
        VERBATIM)
      list(APPEND MK_PNG_ICONS ${png})
      install(FILES ${png} DESTINATION ${MK_ICON_DIR}/${size}x${size}/${context})
    endforeach()
  endif()
endforeach()
if(MK_PNG_ICONS)
  add_custom_target(mk_png_icons ALL DEPENDS ${MK_PNG_ICONS})
endif()

# The Debian package.
set(CPACK_PACKAGE_NAME mirukana)
set(CPACK_PACKAGE_VENDOR "Mirukana")
set(CPACK_PACKAGE_CONTACT "Mirukana maintainers <maintainers@mirukana.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hydraulic check of a drainage facility and its calculation report")
# The synopsis is the summary above; CPack indents these lines as Debian wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "ミルカナ checks one drainage facility of a land development on a combined
sewer: the planned flow Q1 (rational formula plus sewage) against the
capacity Q2 of a pipe or channel by Manning or Kutter, and produces the
calculation report (流量計算書) on screen, on paper or as text.
.
mirukana-report prints the report, a summary or a pipe sizing table of a
saved project without a display.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# Libraries the programs link are found by dpkg-shlibdeps (dpkg-dev) when it
# is installed, and listed by hand otherwise.  What is loaded at run time
# and never linked is always listed: the SVG icon plugins (toolbar and
# window icons), Qt's Japanese translations (its own dialogs' texts) and the
# two Japanese fonts (the report's Mincho, the screens' Gothic).
set(MK_RUNTIME_DEPENDS "libqt6svg6, qt6-translations-l10n, fonts-ipafont-mincho, fonts-ipafont-gothic")
find_program(MK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(MK_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${MK_RUNTIME_DEPENDS}")
else()
  message(STATUS "dpkg-shlibdeps not found: the package lists the Qt 6 libraries by hand")
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, libqt6core6, libqt6gui6, libqt6widgets6, libqt6printsupport6, ${MK_RUNTIME_DEPENDS}")
endif()

include(CPack)
