# WebAssembly with Debian's emscripten. For the rules alone, chronocell-verify.js under node reads
# the recordings named on its command line and ends with main's exit code, as the native program
# does:
#
#   NODE_PATH=/usr/share/nodejs cmake -S . -B build-wasm --toolchain cmake/toolchains/emscripten.cmake \
#       -DCHRONOCELL_RULES_ONLY=ON -DCHRONOCELL_TESTS=OFF
#   node build-wasm/chronocell-verify.js FILE...
#
# (emscripten runs its JavaScript tools with node, which finds Debian's acorn through NODE_PATH.)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# GLM alone of the build machine's headers: a prefix in the build folder that holds Debian's GLM
# headers and CMake file and nothing else, for /usr/include's C library headers must never come
# before emscripten's own.
set(CHRONOCELL_GLM_ROOT ${CMAKE_BINARY_DIR}/glm-root)
if(NOT EXISTS ${CHRONOCELL_GLM_ROOT}/share/cmake/glm)
    file(MAKE_DIRECTORY ${CHRONOCELL_GLM_ROOT}/include ${CHRONOCELL_GLM_ROOT}/share/cmake)
    file(CREATE_LINK /usr/include/glm ${CHRONOCELL_GLM_ROOT}/include/glm SYMBOLIC)
    file(CREATE_LINK /usr/share/cmake/glm ${CHRONOCELL_GLM_ROOT}/share/cmake/glm SYMBOLIC)
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${CHRONOCELL_GLM_ROOT})

# The page's libraries, built by tools/web/build-deps.sh.
if(CHRONOCELL_WEB_ROOT)
    list(APPEND CMAKE_FIND_ROOT_PATH ${CHRONOCELL_WEB_ROOT})
endif()
