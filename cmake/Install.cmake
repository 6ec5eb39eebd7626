# What `cmake --install` and the Debian package put where: the game, its content, the menu entry,
# the icons, the software-centre record, the manual page and the licence. The tests, the benchmark
# and the generators stay in the build folder.

# Installing takes the game alone; the test programs need not be built for it. `make package`
# builds the Debian package with debhelper (debian/), which installs through these rules too.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# On Windows the game is one folder, installed by `make windows-package`'s installer or unpacked
# from its zip anywhere: the two programs, their content beside them, the documents and the
# licences of everything linked into the programs, which a static link carries with it.
if(WIN32)
    install(TARGETS chronocell chronocell-verify RUNTIME DESTINATION .)
    install(DIRECTORY assets DESTINATION ${CHRONOCELL_CONTENT_INSTALL_DIR})
    # Named for Windows, which opens a file by its extension.
    install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
    install(FILES README.md DESTINATION .)
    # Each library's licence as Debian ships it with the package built from the same source the
    # Windows build compiles (tools/windows/build-deps.sh): LIBRARY=DEBIAN_PACKAGE. zlib's
    # covers minizip (its contrib/minizip), MinGW-w64's covers winpthreads, and GCC's carries the
    # runtime library exception its libgcc and libstdc++ are linked in under.
    set(CHRONOCELL_WINDOWS_LICENCES GLFW=libglfw3 FreeType=libfreetype6 Assimp=libassimp5
        SDL2=libsdl2-2.0-0 SDL2_mixer=libsdl2-mixer-2.0-0 zlib=zlib1g GLM=libglm-dev stb=libstb0
        glad=python3-glad MinGW-w64=mingw-w64-common GCC=gcc-mingw-w64-base)
    foreach(licence ${CHRONOCELL_WINDOWS_LICENCES})
        string(REPLACE "=" ";" licence ${licence})
        list(GET licence 0 library)
        list(GET licence 1 package)
        set(copyright /usr/share/doc/${package}/copyright)
        # A package shipped without a licence it owes is worse than no package at all.
        if(NOT EXISTS ${copyright})
            message(FATAL_ERROR "${copyright} is missing: install ${package} for ${library}'s licence")
        endif()
        install(FILES ${copyright} DESTINATION licences RENAME ${library}.txt)
        # Debian's files name the long licences by their place on a Debian system, which a
        # Windows machine lacks: those texts go beside them, under the same names.
        file(STRINGS ${copyright} lines REGEX "/usr/share/common-licenses/")
        string(REGEX MATCHALL "/usr/share/common-licenses/[A-Za-z0-9.+-]*[A-Za-z0-9+]" named
            "${lines}")
        list(APPEND CHRONOCELL_COMMON_LICENCES ${named})
    endforeach()
    list(REMOVE_DUPLICATES CHRONOCELL_COMMON_LICENCES)
    foreach(common ${CHRONOCELL_COMMON_LICENCES})
        # GPL and LGPL are links to the latest version; the zip and the installer want the text.
        file(REAL_PATH ${common} text)
        get_filename_component(name ${common} NAME)
        install(FILES ${text} DESTINATION licences/common-licenses RENAME ${name}.txt)
    endforeach()
    # What the packaging names its files with.
    file(WRITE ${CMAKE_BINARY_DIR}/package-version ${PROJECT_VERSION})
    return()
endif()

# One reverse-DNS name for the menu entry, the icon and the software-centre record.
set(CHRONOCELL_APP_ID org.chronocell.Chronocell)
# The project has no web site of its own yet: the software-centre record names a home page, and
# takes the README's two pictures from its docs/ folder, only when a build is given one.
set(CHRONOCELL_HOMEPAGE "" CACHE STRING
    "The game's home page, if it has one; the software-centre record links there for its screenshots")
set(CHRONOCELL_METAINFO_LINKS "")
if(CHRONOCELL_HOMEPAGE)
    string(CONCAT CHRONOCELL_METAINFO_LINKS
        "  <url type=\"homepage\">${CHRONOCELL_HOMEPAGE}</url>\n"
        "  <screenshots>\n"
        "    <screenshot type=\"default\">\n"
        "      <caption>The start screen</caption>\n"
        "      <image>${CHRONOCELL_HOMEPAGE}/docs/start-screen.png</image>\n"
        "    </screenshot>\n"
        "    <screenshot>\n"
        "      <caption>A game in progress</caption>\n"
        "      <image>${CHRONOCELL_HOMEPAGE}/docs/in-game.png</image>\n"
        "    </screenshot>\n"
        "  </screenshots>\n")
endif()
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
set(CHRONOCELL_INSTALLED_BINARY ${CMAKE_INSTALL_FULL_BINDIR}/chronocell)
set(CHRONOCELL_INSTALLED_CONTENT ${CMAKE_INSTALL_PREFIX}/${CHRONOCELL_CONTENT_INSTALL_DIR})
configure_file(data/chronocell.6.in ${CMAKE_BINARY_DIR}/chronocell.6 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/chronocell.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
if(CHRONOCELL_DEBIAN_PACKAGE)
    # debhelper installs the documents and the machine-readable copyright file itself.
else()
    install(FILES LICENSE README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
    # Where a Debian system looks for a package's licence.
    install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)
endif()
