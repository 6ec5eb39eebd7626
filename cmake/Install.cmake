# What `cmake --install` and the Debian package put where: the game, its content, the menu entry,
# the icons, the software-centre record, the manual page and the licence. The tests, the benchmark
# and the generators stay in the build folder.

# One reverse-DNS name for the menu entry, the icon and the software-centre record.
set(CHRONOCELL_APP_ID org.chronocell.Chronocell)
set(CHRONOCELL_HOMEPAGE "https://chronocell.org" CACHE STRING
    "The game's home page; the software-centre record takes its screenshots from there")
set(CHRONOCELL_MAINTAINER "The Chronocell developers <developers@chronocell.org>" CACHE STRING
    "The Debian package's maintainer")
set(CHRONOCELL_ICON_SIZES 32 48 64 128 256)

install(TARGETS chronocell RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY assets DESTINATION ${CHRONOCELL_CONTENT_INSTALL_DIR})

install(FILES data/${CHRONOCELL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(CHRONOCELL_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
foreach(size ${CHRONOCELL_ICON_SIZES})
    install(FILES data/icons/icon-${size}.png
        DESTINATION ${CHRONOCELL_ICON_DIR}/${size}x${size}/apps RENAME ${CHRONOCELL_APP_ID}.png)
endforeach()
install(FILES data/icons/icon.svg DESTINATION ${CHRONOCELL_ICON_DIR}/scalable/apps
    RENAME ${CHRONOCELL_APP_ID}.svg)

configure_file(data/${CHRONOCELL_APP_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/${CHRONOCELL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${CHRONOCELL_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
configure_file(data/chronocell.6.in ${CMAKE_BINARY_DIR}/chronocell.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/chronocell.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES LICENSE README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Where a Debian system looks for a package's licence.
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

# `make package`: chronocell_<version>_<arch>.deb in the build folder, installing under /usr.
# Installing and packaging take the game alone; the test programs need not be built for it.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME chronocell)
set(CPACK_PACKAGE_VENDOR "The Chronocell developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small 3D runner: collect three clocks within 90 seconds")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CHRONOCELL_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CHRONOCELL_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Your character runs by itself down a dirt path through \
a meadow lined with trees, switching between two lanes and jumping the stones that appear \
ahead. Every so often the run reverses. When the time relic's hint flashes, you may walk freely \
to a clock hidden nearby. Collect three clocks within 90 seconds to win; touch a stone and the \
game is lost.")
# The libraries' packages, and their versions, come from the binary itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
