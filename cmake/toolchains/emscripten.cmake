# WebAssembly for node with Debian's emscripten: chronocell-verify.js reads the recordings named on
# its command line from the real file system (NODERAWFS) and ends with main's exit code, as the
# native program does:
#
#   NODE_PATH=/usr/share/nodejs cmake -S . -B build-wasm --toolchain cmake/toolchains/emscripten.cmake \
#       -DCHRONOCELL_RULES_ONLY=ON -DCHRONOCELL_TESTS=OFF
#   node build-wasm/chronocell-verify.js FILE...
#
# (emscripten runs its JavaScript tools with node, which finds Debian's acorn through NODE_PATH.)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# The wasm is compiled as it loads, from the file beside the script, so node needs no fetch; the
# heap grows for long recordings.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-sNODERAWFS=1 -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1 -sWASM_ASYNC_COMPILATION=0")

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
