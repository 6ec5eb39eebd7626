// The outlines the browser draws in place of a polygon mode. Faults these catch: a triangle
// without its closing edge, the last triangle of a list or strip dropped, a partial triangle's
// corners drawn, a strip started at the wrong vertex or with every triangle in one order (half
// its triangles wound backwards), and a short strip wrapping its unsigned count round.
#include "render/EdgeIndices.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using Indices = std::vector<unsigned>;

struct ListCase {
    const char* name;
    Indices corners;
    Indices edges;
};

struct CountCase {
    const char* name;
    unsigned vertexCount;
    Indices expected;
};

// Whether the triangle whose three edges start at firstIndex runs from `from` to `to`.
bool hasDirectedEdge(const Indices& edges, std::size_t firstIndex, unsigned from, unsigned to) {
    for (std::size_t i = firstIndex; i < firstIndex + 6; i += 2) {
        if (edges[i] == from && edges[i + 1] == to) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(EdgeIndices, TriangleListsGiveEachWholeTriangleItsThreeEdges) {
    const std::vector<ListCase> cases = {
        {"one triangle closes its outline", {4, 7, 9}, {4, 7, 7, 9, 9, 4}},
        {"the last triangle too", {0, 1, 2, 2, 1, 3}, {0, 1, 1, 2, 2, 0, 2, 1, 1, 3, 3, 2}},
        {"a trailing corner is no triangle", {0, 1, 2, 3}, {0, 1, 1, 2, 2, 0}},
        {"nor are two", {5, 6, 8, 3, 4}, {5, 6, 6, 8, 8, 5}},
        {"two corners alone", {5, 6}, {}},
        {"no corners", {}, {}},
    };
    for (const ListCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(triangleListEdges(test.corners), test.edges);
    }
}

TEST(EdgeIndices, StripTrianglesComeInTheGlsOrderAndWinding) {
    const std::vector<CountCase> cases = {
        {"no vertex", 0, {}},
        {"one vertex", 1, {}},
        {"two vertices", 2, {}},
        {"one triangle", 3, {0, 1, 2}},
        {"a quad, the second triangle swapped", 4, {0, 1, 2, 2, 1, 3}},
        {"an odd count ends unswapped", 5, {0, 1, 2, 2, 1, 3, 2, 3, 4}},
        {"six vertices", 6, {0, 1, 2, 2, 1, 3, 2, 3, 4, 4, 3, 5}},
    };
    for (const CountCase& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(triangleStripCorners(test.vertexCount), test.expected);
    }
}

TEST(EdgeIndices, OutlinesOfArraysAndStrips) {
    struct Case {
        const char* name;
        Indices (*outline)(unsigned);
        unsigned vertexCount;
        Indices edges;
    };
    const std::vector<Case> cases = {
        {"the particle quad's strip", triangleStripEdges, 4, {0, 1, 1, 2, 2, 0, 2, 1, 1, 3, 3, 2}},
        {"a strip too short for a triangle", triangleStripEdges, 2, {}},
        {"a glyph's two triangles", triangleSequenceEdges, 6, {0, 1, 1, 2, 2, 0, 3, 4, 4, 5, 5, 3}},
        {"an array with a trailing vertex", triangleSequenceEdges, 4, {0, 1, 1, 2, 2, 0}},
        {"an empty array", triangleSequenceEdges, 0, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(test.outline(test.vertexCount), test.edges);
    }
}

// Triangles wound alike run their shared edge in opposite directions; a strip whose every
// triangle took its vertices in order would run it the same way in both.
TEST(EdgeIndices, NeighbouringStripTrianglesRunTheirSharedEdgeOppositeWays) {
    for (unsigned vertexCount = 3; vertexCount <= 12; ++vertexCount) {
        SCOPED_TRACE(vertexCount);
        const Indices edges = triangleStripEdges(vertexCount);
        const unsigned triangles = vertexCount - 2;
        ASSERT_EQ(edges.size(), 6u * triangles);
        for (unsigned index : edges) {
            EXPECT_LT(index, vertexCount);
        }
        for (unsigned t = 0; t + 1 < triangles; ++t) {
            // Triangles t and t+1 share the edge between vertices t+1 and t+2.
            const bool forward = hasDirectedEdge(edges, 6 * t, t + 1, t + 2);
            const bool backward = hasDirectedEdge(edges, 6 * t, t + 2, t + 1);
            ASSERT_NE(forward, backward) << "triangle " << t << " has the shared edge once";
            EXPECT_EQ(hasDirectedEdge(edges, 6 * (t + 1), t + 2, t + 1), forward)
                << "triangle " << t + 1 << " runs it the other way";
        }
    }
}
