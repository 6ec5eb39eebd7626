# The OpenGL 4.3 core loader is generated at build time from python3-glad's bundled
# registry, so nothing third-party lives in the repository.
find_program(GLAD_EXECUTABLE glad PATHS /usr/bin NO_DEFAULT_PATH)
if(NOT GLAD_EXECUTABLE)
    find_program(GLAD_EXECUTABLE glad REQUIRED)
endif()

set(GLAD_OUT ${CMAKE_BINARY_DIR}/glad)
set(GLAD_WORK ${CMAKE_BINARY_DIR}/glad-work)
file(MAKE_DIRECTORY ${GLAD_WORK})
add_custom_command(
    OUTPUT ${GLAD_OUT}/src/gl.c ${GLAD_OUT}/include/glad/gl.h ${GLAD_OUT}/include/KHR/khrplatform.h
    COMMAND ${GLAD_EXECUTABLE} --quiet --reproducible --api gl:core=4.3 --extensions= --out-path ${GLAD_OUT} c
    WORKING_DIRECTORY ${GLAD_WORK}
    COMMENT "Generating the OpenGL 4.3 core loader with glad"
    VERBATIM)
add_library(glad_gl STATIC ${GLAD_OUT}/src/gl.c)
target_include_directories(glad_gl SYSTEM PUBLIC ${GLAD_OUT}/include)
set_target_properties(glad_gl PROPERTIES POSITION_INDEPENDENT_CODE ON)
