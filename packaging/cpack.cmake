# The Debian package, built by CPack: `cmake --build BUILD --target package`, or tools/package.sh,
# which also passes Debian's hardening flags and checks the result. One package holds both
# programs; its library dependencies are computed by dpkg-shlibdeps from the binaries.
set(LM740_PACKAGE_MAINTAINER "Lm740 maintainers <maintainers@users.noreply.c-seed-cddf47db.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lm740)
set(CPACK_PACKAGE_VENDOR "Lm740 control software developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${LM740_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # lm740_1.07_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not libraries, so dpkg-shlibdeps cannot see them: the window needs a Qt platform plugin to open at
# all, and Help hands the manual to xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-translations-l10n")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control software for the Lm740 RGB LED lighting controller")
# The first line of the package description is the summary above.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The Lm740 is a stand-alone RGB LED lighting controller for up to 170 RGB
lamps. This package holds lm740, the desktop program that composes a show
of 10 scenes, 4 chasers and 4 programs, previews it on screen and moves it
to and from the controller over USB, and lm740ctl, a command-line tool for
scripts and machines without a display: backups and restores of the
controller's memory, run commands, parameters, firmware upgrades, and the
show in a settings file as text files for version control.
.
A udev rule gives the user logged in at the machine access to the
controller.")
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
