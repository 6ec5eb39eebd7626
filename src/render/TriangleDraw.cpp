#include "render/TriangleDraw.h"

#include <glad/gl.h>

void setWireframe(bool wireframe) {
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);
}

void drawIndexedTriangles(int indexCount) {
    glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
}

void drawTriangleList(int vertexCount) {
    glDrawArrays(GL_TRIANGLES, 0, vertexCount);
}

void drawInstancedTriangleStrip(int vertexCount, int instanceCount) {
    glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, vertexCount, instanceCount);
}
