// The outlines the browser draws in place of a polygon mode. Faults these catch: a triangle
// without its closing edge, the last triangle of a list or strip dropped, a partial triangle's
// corners drawn, a strip started at the wrong vertex or with every triangle in one order (half
// its triangles wound backwards), and a short strip wrapping its unsigned count round.
#include "render/EdgeIndices.h"

#include <gtest/gtest.h>
#include <vector>

TEST(EdgeIndices, EachWholeTriangleGivesItsThreeEdgesInTheGlsOrder) {
    using Indices = std::vector<unsigned>;
    const struct {
        const char* name;
        Indices outline;
        Indices expected;
    } cases[] = {
        // Two corners over, so that rounding the count of triangles either way shows.
        {"a list of two triangles and two corners over",
         triangleListEdges(Indices{4, 7, 9, 2, 1, 3, 5, 6}),
         {4, 7, 7, 9, 9, 4, 2, 1, 1, 3, 3, 2}},
        {"an array of two triangles and a vertex over",
         triangleSequenceEdges(7),
         {0, 1, 1, 2, 2, 0, 3, 4, 4, 5, 5, 3}},
        {"a strip, every second triangle swapped",
         triangleStripCorners(6),
         {0, 1, 2, 2, 1, 3, 2, 3, 4, 4, 3, 5}},
        {"the particle quad's strip", triangleStripEdges(4), {0, 1, 1, 2, 2, 0, 2, 1, 1, 3, 3, 2}},
        {"a strip of one vertex", triangleStripCorners(1), {}},
        {"a strip of no vertex", triangleStripEdges(0), {}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.outline, test.expected) << test.name;
    }
}
