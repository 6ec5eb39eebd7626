# The game as a page for browsers: WebAssembly on WebGL 2, built with emscripten against the
# libraries tools/web/build-deps.sh builds from Debian's sources (CHRONOCELL_WEB_ROOT). The site
# is written to CHRONOCELL_SITE: index.html and the page's script and style, chronocell.js,
# chronocell.wasm, and chronocell.data, which packs the game's content.
set(CHRONOCELL_SITE ${CMAKE_BINARY_DIR}/site CACHE PATH "Where the page's files are written")
find_package(Freetype REQUIRED)
find_package(assimp REQUIRED)

# Emscripten's GLFW header is GLFW 3.2's; the input room reads pads through 3.3's gamepad state,
# which the page fills itself. Debian's 3.3 header declares the same functions emscripten
# implements, so it is taken, alone, from a folder of its own; stb's headers likewise.
set(CHRONOCELL_WEB_HEADERS ${CMAKE_BINARY_DIR}/web-headers)
foreach(folder GLFW stb)
    if(NOT EXISTS ${CHRONOCELL_WEB_HEADERS}/${folder})
        file(MAKE_DIRECTORY ${CHRONOCELL_WEB_HEADERS})
        file(CREATE_LINK /usr/include/${folder} ${CHRONOCELL_WEB_HEADERS}/${folder} SYMBOLIC)
    endif()
endforeach()

file(GLOB CHRONOCELL_PAGE_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/src/render/*.cpp
    ${CMAKE_SOURCE_DIR}/src/render/webgl/*.cpp
    ${CMAKE_SOURCE_DIR}/src/model/*.cpp
    ${CMAKE_SOURCE_DIR}/src/text/*.cpp
    ${CMAKE_SOURCE_DIR}/src/audio/*.cpp
    ${CMAKE_SOURCE_DIR}/src/audio/web/*.cpp
    ${CMAKE_SOURCE_DIR}/src/sound/*.cpp
    ${CMAKE_SOURCE_DIR}/src/scene/*.cpp
    ${CMAKE_SOURCE_DIR}/src/input/*.cpp
    ${CMAKE_SOURCE_DIR}/src/session/*.cpp
    ${CMAKE_SOURCE_DIR}/src/platform/web/*.cpp
    ${CMAKE_SOURCE_DIR}/src/web/*.cpp)
# What a page does differently: its own sound device, line-drawn wireframe, pads and clock; and
# no GL debug output, pad mapping file or video export.
list(REMOVE_ITEM CHRONOCELL_PAGE_SOURCES
    ${CMAKE_SOURCE_DIR}/src/render/Camera.cpp
    ${CMAKE_SOURCE_DIR}/src/render/TriangleDraw.cpp
    ${CMAKE_SOURCE_DIR}/src/audio/AudioMixer.cpp
    ${CMAKE_SOURCE_DIR}/src/audio/SoundDevice.cpp
    ${CMAKE_SOURCE_DIR}/src/audio/WavReadingSdl.cpp
    ${CMAKE_SOURCE_DIR}/src/scene/DebugOutput.cpp
    ${CMAKE_SOURCE_DIR}/src/input/GamepadMappings.cpp
    ${CMAKE_SOURCE_DIR}/src/input/GlfwGamepadStates.cpp
    ${CMAKE_SOURCE_DIR}/src/session/GameSession.cpp
    ${CMAKE_SOURCE_DIR}/src/session/GlfwGameClock.cpp)
list(REMOVE_ITEM CHRONOCELL_PAGE_SOURCES ${CMAKE_SOURCE_DIR}/src/web/PageMain.cpp)
list(APPEND CHRONOCELL_PAGE_SOURCES ${CHRONOCELL_DRAWING_SOURCES}
    ${CMAKE_SOURCE_DIR}/src/platform/UserSettings.cpp
    ${CMAKE_SOURCE_DIR}/src/app/SettingsFile.cpp
    ${CMAKE_SOURCE_DIR}/src/app/IniScan.cpp
    ${CMAKE_SOURCE_DIR}/src/app/SettingsNotes.cpp
    ${CMAKE_SOURCE_DIR}/src/video/TimelineAnimationClock.cpp)

# Assimp reports a damaged model by throwing; without exceptions the page would abort instead.
set(CHRONOCELL_WEB_EXCEPTIONS -fexceptions)
add_library(chronocell_page STATIC ${CHRONOCELL_PAGE_SOURCES})
target_include_directories(chronocell_page BEFORE PUBLIC
    ${CMAKE_SOURCE_DIR}/src/platform/web/include ${CHRONOCELL_WEB_HEADERS})
target_include_directories(chronocell_page PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_compile_options(chronocell_page PRIVATE -Wall -Wextra -Wpedantic
    ${CHRONOCELL_WEB_EXCEPTIONS})
target_compile_definitions(chronocell_page PUBLIC GLFW_INCLUDE_NONE)
target_link_libraries(chronocell_page PUBLIC chronocell_rules chronocell_inih Freetype::Freetype
    assimp::assimp)

# The content as the page reads it: the game's assets, with the shaders turned into GLSL ES
# 3.00 from the same files.
set(CHRONOCELL_PAGE_CONTENT ${CMAKE_BINARY_DIR}/page-content)
file(GLOB_RECURSE CHRONOCELL_ASSET_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*)
add_custom_command(OUTPUT ${CHRONOCELL_PAGE_CONTENT}/stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${CHRONOCELL_PAGE_CONTENT}/assets
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/assets
        ${CHRONOCELL_PAGE_CONTENT}/assets
    COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/web/adapt_shader.py --folder
        ${CMAKE_SOURCE_DIR}/assets/shader ${CHRONOCELL_PAGE_CONTENT}/assets/shader
    COMMAND ${CMAKE_COMMAND} -E touch ${CHRONOCELL_PAGE_CONTENT}/stamp
    DEPENDS ${CHRONOCELL_ASSET_FILES} ${CMAKE_SOURCE_DIR}/tools/web/adapt_shader.py
    COMMENT "Staging the page's content" VERBATIM)
add_custom_target(chronocell_page_content DEPENDS ${CHRONOCELL_PAGE_CONTENT}/stamp)

add_executable(chronocell_web src/web/PageMain.cpp)
set_target_properties(chronocell_web PROPERTIES OUTPUT_NAME chronocell SUFFIX .js
    RUNTIME_OUTPUT_DIRECTORY ${CHRONOCELL_SITE})
add_dependencies(chronocell_web chronocell_page_content)
target_compile_options(chronocell_web PRIVATE -Wall -Wextra -Wpedantic ${CHRONOCELL_WEB_EXCEPTIONS})
target_link_libraries(chronocell_web PRIVATE chronocell_page)
target_link_options(chronocell_web PRIVATE ${CHRONOCELL_WEB_EXCEPTIONS}
    -sUSE_GLFW=3 -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    # The freezes sleep inside a frame and give the page back to the browser meanwhile.
    -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
    -sEXPORTED_RUNTIME_METHODS=FS,addRunDependency,removeRunDependency
    -sFORCE_FILESYSTEM=1 -lidbfs.js
    # (SHELL: keeps CMake from folding the repeated option names into one.)
    "SHELL:--js-library ${CMAKE_SOURCE_DIR}/web/library.js"
    "SHELL:--js-library ${CMAKE_SOURCE_DIR}/src/audio/web/audio.js"
    "SHELL:--preload-file ${CHRONOCELL_PAGE_CONTENT}/assets@/assets")
set_property(TARGET chronocell_web APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/web/library.js
    ${CMAKE_SOURCE_DIR}/src/audio/web/audio.js ${CHRONOCELL_PAGE_CONTENT}/stamp)

# The page around the canvas.
foreach(file index.html page.js page.css)
    configure_file(${CMAKE_SOURCE_DIR}/web/${file} ${CHRONOCELL_SITE}/${file} COPYONLY)
endforeach()
configure_file(${CMAKE_SOURCE_DIR}/data/icons/icon-64.png ${CHRONOCELL_SITE}/icon.png COPYONLY)
