#pragma once

// Every triangle the game draws goes through these calls, so that the wireframe view works where
// the GL has no polygon mode. The desktop build (TriangleDraw.cpp) sets the polygon mode and
// draws as it always did; the browser build (webgl/TriangleDraw.cpp) draws each triangle's edges
// as GL_LINES instead while the wireframe view is on. Every draw starts at the first vertex or
// index and uses the vertex array and program already bound.

// Turns the wireframe view on or off for every draw after this call.
void setWireframe(bool wireframe);

// The bound vertex array's indexed triangles: the first indexCount unsigned int indices of its
// element buffer.
void drawIndexedTriangles(int indexCount);

// A triangle list of vertices 0 .. vertexCount-1, without indices.
void drawTriangleList(int vertexCount);

// instanceCount copies of a triangle strip of vertices 0 .. vertexCount-1.
void drawInstancedTriangleStrip(int vertexCount, int instanceCount);
