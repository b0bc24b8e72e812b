# Install layout (GNU directories under the prefix) and the two Debian packages: every file
# belongs to the component of the program it serves, so that the converter installs without Qt.
#   convert: lumirune-convert, its manual page and shell completions
#   window:  lumirune, its menu entry, icons, metainfo and manual page
include(GNUInstallDirs)

install(TARGETS lumirune-convert RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT convert)
install(TARGETS lumirune RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT window)

# Menu entry, software-centre metainfo and icons, all named after the application id.
set(data ${PROJECT_SOURCE_DIR}/data)
configure_file(${data}/${LUMIRUNE_APP_ID}.metainfo.xml.in ${PROJECT_BINARY_DIR}/${LUMIRUNE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${data}/${LUMIRUNE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT window)
install(FILES ${PROJECT_BINARY_DIR}/${LUMIRUNE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        COMPONENT window)
set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${data}/icons/${LUMIRUNE_APP_ID}.svg DESTINATION ${icons}/scalable/apps COMPONENT window)
foreach(size 48 256)
    install(FILES ${data}/icons/lumirune-${size}.png DESTINATION ${icons}/${size}x${size}/apps
            RENAME ${LUMIRUNE_APP_ID}.png COMPONENT window)
endforeach()

# Manual pages, compressed as Debian wants them (gzip -9n: no name or time stamp inside, so the
# same page always gives the same bytes); man reads them so wherever they are installed.
set(pages)
foreach(program lumirune lumirune-convert)
    set(page ${PROJECT_BINARY_DIR}/man/${program}.1.gz)
    add_custom_command(OUTPUT ${page} COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
                       COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/man/${program}.1 > ${page}
                       DEPENDS ${PROJECT_SOURCE_DIR}/man/${program}.1 VERBATIM)
    list(APPEND pages ${page})
endforeach()
add_custom_target(manpages ALL DEPENDS ${pages})
install(FILES ${PROJECT_BINARY_DIR}/man/lumirune.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT window)
install(FILES ${PROJECT_BINARY_DIR}/man/lumirune-convert.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT convert)

# The converter's completions, where bash-completion and fish look for them.
install(FILES ${PROJECT_SOURCE_DIR}/completions/bash/lumirune-convert
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT convert)
install(FILES ${PROJECT_SOURCE_DIR}/completions/fish/lumirune-convert.fish
        DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d COMPONENT convert)
# zsh reads a distribution's packages from vendor-completions and anything else from the
# prefix's site-functions; which one is known only once the prefix is (--prefix, cpack).
set(zsh ${PROJECT_SOURCE_DIR}/completions/zsh/_lumirune-convert)
install(CODE "
    set(folder site-functions)
    if(CMAKE_INSTALL_PREFIX MATCHES \"(^|/)usr$\")
        set(folder vendor-completions)
    endif()
    file(INSTALL \"${zsh}\" DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/zsh/\${folder}\")
" COMPONENT convert)

# Each package's licence and history, where Debian looks for them: the copyright file in the
# machine-readable format, made from LICENSE, and the changelog compressed as the pages are.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^MIT License\n\nCopyright \\(c\\) ([^\n]*)\n\n" "" terms "${licence}")
set(holder ${CMAKE_MATCH_1})
string(REGEX REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REGEX REPLACE "\n$" "" terms "${terms}")
string(REPLACE "\n" "\n " terms " ${terms}")
file(WRITE ${PROJECT_BINARY_DIR}/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\nUpstream-Name: lumirune\n\n"
     "Files: *\nCopyright: ${holder}\nLicense: MIT\n${terms}\n")
set(changelog ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog} COMMAND gzip -9n -c ${data}/changelog > ${changelog}
                   DEPENDS ${data}/changelog VERBATIM)
add_custom_target(changelog ALL DEPENDS ${changelog})
foreach(component window convert)
    set(package lumirune)
    if(component STREQUAL convert)
        set(package lumirune-convert)
    endif()
    install(FILES ${PROJECT_BINARY_DIR}/copyright ${changelog} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package}
            COMPONENT ${component})
endforeach()

# cpack -G DEB makes one package per component. Depends comes from the libraries each program
# links (dpkg-shlibdeps, in dpkg-dev), plus for the window the image plugins Qt loads at run time
# for the picture types the menu entry offers.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL convert window)
set(CPACK_PACKAGE_NAME lumirune)
set(CPACK_PACKAGE_VENDOR "The Lumirune developers")
set(CPACK_PACKAGE_CONTACT "The Lumirune developers <lumirune@users.noreply.github.com>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_CONVERT_PACKAGE_NAME lumirune-convert)
set(CPACK_DEBIAN_WINDOW_PACKAGE_NAME lumirune)
set(CPACK_COMPONENT_CONVERT_DESCRIPTION
    "turns pictures into web pages drawn in coloured text
lumirune-convert writes an HTML page in which every pixel of a picture is one
or two characters in that pixel's colour, for many pictures at once from the
command line. It can also write colour text for a terminal (24-bit, 256 or 16
colours), or the characters alone. It needs no window system.")
set(CPACK_COMPONENT_WINDOW_DESCRIPTION
    "turns a picture into a web page drawn in coloured text
Lumirune II writes an HTML page in which every pixel of a picture is one or
two characters in that pixel's colour. Its window loads a picture and lets you
choose the area, the colour quality, the characters and the colours to
replace. The package lumirune-convert converts many pictures at once from the
command line.")
set(CPACK_DEBIAN_WINDOW_PACKAGE_DEPENDS qt6-image-formats-plugins)
# Qt's own dialogs and buttons in the user's language.
set(CPACK_DEBIAN_WINDOW_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_DEBIAN_WINDOW_PACKAGE_SUGGESTS lumirune-convert)
include(CPack)
