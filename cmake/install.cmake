# Install layout (GNU directories under the prefix) and the Debian package.
include(GNUInstallDirs)

install(TARGETS lumirune lumirune-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Menu entry, software-centre metainfo and icons, all named after the application id.
set(data ${PROJECT_SOURCE_DIR}/data)
configure_file(${data}/${LUMIRUNE_APP_ID}.metainfo.xml.in ${PROJECT_BINARY_DIR}/${LUMIRUNE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${data}/${LUMIRUNE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_BINARY_DIR}/${LUMIRUNE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${data}/icons/${LUMIRUNE_APP_ID}.svg DESTINATION ${icons}/scalable/apps)
foreach(size 48 256)
    install(FILES ${data}/icons/lumirune-${size}.png DESTINATION ${icons}/${size}x${size}/apps
            RENAME ${LUMIRUNE_APP_ID}.png)
endforeach()

# Manual pages and shell completions, each where man, bash-completion, zsh and fish look for
# it; the globs pick up new ones at the next build.
file(GLOB manpages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/man/*.1)
install(FILES ${manpages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
foreach(shell "bash/*|bash-completion/completions" "zsh/_*|zsh/vendor-completions" "fish/*.fish|fish/vendor_completions.d")
    string(REPLACE "|" ";" shell "${shell}")
    list(GET shell 0 pattern)
    list(GET shell 1 destination)
    file(GLOB completions CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/completions/${pattern})
    install(FILES ${completions} DESTINATION ${CMAKE_INSTALL_DATADIR}/${destination})
endforeach()

# cpack -G DEB: Depends comes from the libraries the programs link (dpkg-shlibdeps, in dpkg-dev),
# plus the image plugins Qt loads at run time for the picture types the menu entry offers.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lumirune)
set(CPACK_PACKAGE_VENDOR "The Lumirune developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a picture into a web page drawn in coloured text")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumirune II writes an HTML page in which every pixel of a picture is one or
two characters in that pixel's colour. The window loads a picture and lets you
choose the area, colour quality and characters; lumirune-convert converts many
pictures at once from the command line.")
set(CPACK_PACKAGE_CONTACT "The Lumirune developers <lumirune@users.noreply.github.com>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://lumirune.github.io/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-image-formats-plugins)
set(CPACK_STRIP_FILES ON)
include(CPack)
