#pragma once

#include <span>
#include <vector>

// Index arithmetic for drawing triangles as their outlines with GL_LINES, where the GL has no
// polygon mode (WebGL2). Every triangle gives its three edges in its own corner order, shared
// edges twice, just as a polygon mode of GL_LINE rasterises them. No GL here, so the arithmetic
// is tested without a context.

// The edge pairs of a triangle list's corners. A trailing one or two corners make no triangle
// and are left out, as glDrawElements leaves them out.
std::vector<unsigned> triangleListEdges(std::span<const unsigned> corners);

// The corners of the triangles a strip of vertices 0 .. vertexCount-1 forms, in the order the GL
// takes them: every second triangle swaps its first two corners so all keep one winding.
std::vector<unsigned> triangleStripCorners(unsigned vertexCount);

// The edge pairs of a strip of vertices 0 .. vertexCount-1.
std::vector<unsigned> triangleStripEdges(unsigned vertexCount);

// The edge pairs of a non-indexed triangle list: vertices 0 .. vertexCount-1 taken three at a
// time.
std::vector<unsigned> triangleSequenceEdges(unsigned vertexCount);
