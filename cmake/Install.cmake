# Installation as a desktop application (freedesktop layout) and the Debian package.
include(GNUInstallDirs)

install(TARGETS norvalytintora norvalytintora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The program looks for Data/ beside itself, then in <prefix>/share/norvalytintora.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/Data
        DESTINATION ${CMAKE_INSTALL_DATADIR}/norvalytintora)

set(nt_desktop ${PROJECT_SOURCE_DIR}/resources/desktop)
install(FILES ${nt_desktop}/example.norvalytintora.Paint.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${nt_desktop}/example.norvalytintora.Paint.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${nt_desktop}/icons/norvalytintora-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME norvalytintora.png)
endforeach()
install(FILES ${nt_desktop}/icons/norvalytintora.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME norvalytintora)
set(CPACK_PACKAGE_VERSION 3.9.0.12)
set(CPACK_PACKAGE_VENDOR "The NorvalyTintora developers")
set(CPACK_PACKAGE_CONTACT "The NorvalyTintora developers <developers@norvalytintora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "raster paint program with a simplified-Chinese interface")
set(CPACK_PACKAGE_DESCRIPTION
    "Paints on one canvas with 22 tools in two colours, applies whole-picture effects, cuts,\n copies and pastes rectangles, opens BMP, JPEG, GIF, ICO, CUR, WMF and EMF pictures and\n saves BMP files.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries come from the binaries; the captions need a font with Chinese glyphs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fcitx5-frontend-qt6 | ibus, qt6-translations-l10n, fonts-liberation, fonts-crosextra-carlito, fonts-crosextra-caladea, fonts-wine")
# The package's binaries are stripped. Built with debug information, that information goes to
# a package of its own (norvalytintora-dbgsym, a .ddeb) for whoever debugs the installed
# program; the build tree's binaries keep theirs.
if(CMAKE_BUILD_TYPE MATCHES "^(Debug|RelWithDebInfo)$")
    set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
else()
    set(CPACK_STRIP_FILES ON)
endif()
include(CPack)
