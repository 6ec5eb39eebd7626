// The browser's triangle draws, run on the desktop's OpenGL 4.3 core context, which has every
// call they make. Faults caught: a wireframe view that still fills or draws nothing, an outline
// without a triangle's closing edge (the quads' diagonals), a strip outlined from the wrong
// vertex, an instanced outline drawn once, the vertex array left with the outline as its element
// buffer, an outline cached by index count alone and shown for another mesh, a list and a strip
// of one vertex count sharing an outline, and an outline kept after the view was turned off,
// shown for new indices uploaded into the same buffer.
#include "render/TriangleDraw.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Quads at instance offsets (attribute 1), in white.
GLuint whiteProgram() {
    const char* sources[] = {"#version 430 core\nlayout(location = 0) in vec2 corner;\n"
                             "layout(location = 1) in vec2 offset;\n"
                             "void main() { gl_Position = vec4(corner + offset, 0.0, 1.0); }\n",
                             "#version 430 core\nout vec4 colour;\n"
                             "void main() { colour = vec4(1.0); }\n"};
    const GLuint program = glCreateProgram();
    for (const GLenum stage : {GL_VERTEX_SHADER, GL_FRAGMENT_SHADER}) {
        const GLuint shader = glCreateShader(stage);
        glShaderSource(shader, 1, &sources[stage == GL_FRAGMENT_SHADER], nullptr);
        glCompileShader(shader);
        glAttachShader(program, shader);
        glDeleteShader(shader);
    }
    glLinkProgram(program);
    return program;
}

// Which places of a quad one draw lights, a letter each, for the quads of the first and the
// second instance, centred on (200, 300) and (600, 300): their Left, Right, Bottom and Top sides,
// their rising and falling diagonals, and inside them above and below the centre, off both
// diagonals. Checked too: that the draw leaves the element buffer bound as it was, the polygon
// mode alone (WebGL2 has none) and no error.
std::string drawn(GLuint elementBuffer, const std::function<void()>& draw) {
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    GLint bound = -1;
    GLint polygonMode[2] = {0, 0};
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &bound);
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    EXPECT_EQ(static_cast<GLuint>(bound), elementBuffer);
    EXPECT_EQ(polygonMode[0], GL_FILL);
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
    const std::string places = "LRBTrfab";
    const int placeX[] = {-100, 100, 0, 0, 50, 50, 0, 0};
    const int placeY[] = {0, 0, -75, 75, 37, -37, 40, -40};
    std::string lit;
    for (const int centre : {200, 600}) {
        lit += centre == 200 ? "" : " | ";
        for (std::size_t place = 0; place < places.size(); ++place) {
            // Within three pixels, along the column or along the row.
            const int x = centre + placeX[place];
            const int y = 300 + placeY[place];
            for (int step = -3; step <= 3; ++step) {
                if (readPixel(x, y + step).r != 0 || readPixel(x + step, y).r != 0) {
                    lit += places[place];
                    break;
                }
            }
        }
    }
    return lit;
}

} // namespace

TEST(WebglTriangleDraw, EachDrawFillsOrOutlinesItsOwnTriangles) {
    glUseProgram(whiteProgram());
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    // A quad's corners in strip order (lower left, lower right, upper left, upper right), half a
    // unit wide: 200 x 150 pixels; two instances' offsets, x -0.5 and 0.5; and the quad's two
    // triangles split along its rising or its falling diagonal, each in an element buffer that
    // stays alive through both views, so that an outline shown for the other's indices shows. The
    // objects go with the context, at the end of the program.
    const std::vector<float> attributes[] = {
        {-0.25f, -0.25f, 0.25f, -0.25f, -0.25f, 0.25f, 0.25f, 0.25f}, {-0.5f, 0.0f, 0.5f, 0.0f}};
    const std::vector<unsigned> splits[] = {{0, 1, 3, 3, 2, 0}, {0, 1, 2, 1, 3, 2}};
    GLuint vertexArray = 0;
    GLuint buffers[4] = {0, 0, 0, 0};
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    glGenBuffers(4, buffers);
    for (const GLuint location : {0, 1}) {
        glBindBuffer(GL_ARRAY_BUFFER, buffers[location]);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(attributes[location].size() * 4),
                     attributes[location].data(), GL_STATIC_DRAW);
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        glVertexAttribDivisor(location, location);
        // And one of the splits.
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers[2 + location]);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, 24, splits[location].data(), GL_STATIC_DRAW);
    }
    const GLuint rising = buffers[2];
    const struct {
        const char* name;
        GLuint elementBuffer;
        std::function<void()> draw;
        const char* filled;
        const char* outlined;
    } cases[] = {
        {"indices split on the rising diagonal", rising, [] { drawIndexedTriangles(6); },
         "LRBTrfab | ", "LRBTr | "},
        {"as many indices split on the falling one", buffers[3], [] { drawIndexedTriangles(6); },
         "LRBTrfab | ", "LRBTf | "},
        // Four vertices as a list make one triangle and a vertex left over.
        {"a list of four vertices", 0, [] { drawTriangleList(4); }, "LBfb | ", "LBf | "},
        {"two instances of a strip of four", 0, [] { drawInstancedTriangleStrip(4, 2); },
         "LRBTrfab | LRBTrfab", "LRBTf | LRBTf"},
    };
    for (const bool wireframe : {false, true}) {
        setWireframe(wireframe);
        for (const auto& test : cases) {
            EXPECT_EQ(drawn(test.elementBuffer, test.draw), wireframe ? test.outlined : test.filled)
                << test.name << (wireframe ? ", outlined" : ", filled");
        }
    }
    // New indices in a buffer, uploaded while the view is off, are outlined anew.
    setWireframe(false);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, rising);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, 24, splits[1].data(), GL_STATIC_DRAW);
    setWireframe(true);
    EXPECT_EQ(drawn(rising, [] { drawIndexedTriangles(6); }), "LRBTf | ");
}
