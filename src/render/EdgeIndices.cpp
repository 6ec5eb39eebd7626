#include "render/EdgeIndices.h"

#include <numeric>

namespace {

constexpr std::size_t kCornersPerTriangle = 3;
constexpr std::size_t kEdgeIndicesPerTriangle = 6;

void appendTriangleEdges(std::vector<unsigned>& edges, unsigned a, unsigned b, unsigned c) {
    edges.insert(edges.end(), {a, b, b, c, c, a});
}

} // namespace

std::vector<unsigned> triangleListEdges(std::span<const unsigned> corners) {
    const std::size_t triangles = corners.size() / kCornersPerTriangle;
    std::vector<unsigned> edges;
    edges.reserve(triangles * kEdgeIndicesPerTriangle);
    for (std::size_t t = 0; t < triangles; ++t) {
        const std::size_t first = t * kCornersPerTriangle;
        appendTriangleEdges(edges, corners[first], corners[first + 1], corners[first + 2]);
    }
    return edges;
}

std::vector<unsigned> triangleStripCorners(unsigned vertexCount) {
    std::vector<unsigned> corners;
    if (vertexCount < kCornersPerTriangle) {
        return corners;
    }
    corners.reserve((vertexCount - 2) * kCornersPerTriangle);
    for (unsigned i = 0; i + 2 < vertexCount; ++i) {
        const bool swapped = i % 2 == 1;
        corners.insert(corners.end(), {swapped ? i + 1 : i, swapped ? i : i + 1, i + 2});
    }
    return corners;
}

std::vector<unsigned> triangleStripEdges(unsigned vertexCount) {
    return triangleListEdges(triangleStripCorners(vertexCount));
}

std::vector<unsigned> triangleSequenceEdges(unsigned vertexCount) {
    std::vector<unsigned> corners(vertexCount);
    std::iota(corners.begin(), corners.end(), 0u);
    return triangleListEdges(corners);
}
