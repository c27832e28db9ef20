# A Debian package of everything `cmake --install` lays out, built by CPack
# (`make package` configures a tree for /usr and runs it).
#
# CPack rather than a debian/ folder: the install rules already describe
# every file, CPack turns them into a .deb in one step with no second
# description of the layout to keep in step, and dpkg-shlibdeps still works
# out the shared-library dependencies from the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME reelbook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "reelbook maintainers <reelbook@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalogue of a private film collection")
set(CPACK_PACKAGE_DESCRIPTION
  "reelbook keeps one record per film of a collection on VHS cassettes, laser\n\
discs and DVDs, with alphabetical indexes, searches and printed lists.\n\
It comes with sorvel, the command-line front end of its sort/merge engine\n\
libsorvel32.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Linked libraries (Qt, the C++ runtime) are found by dpkg-shlibdeps; what
# is only loaded at run time is named here: the SVG plugin draws the
# pictures of the windows, and the reports ask for a Courier New metric face.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-wayland")
# The package ships a shared library: register it with the loader's cache.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
