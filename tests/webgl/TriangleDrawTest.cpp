// The browser's triangle draws, run on the desktop's OpenGL 4.3 core context, which has every
// call they make. Faults caught: a wireframe view that still fills or draws nothing, an outline
// without a triangle's closing edge (the quads' diagonals), a strip outlined from the wrong
// vertex, an instanced outline drawn once, the vertex array left with the outline as its element
// buffer, an outline cached by index count alone and shown for another mesh, and an outline kept
// after the view was turned off, shown for new indices uploaded into the same buffer.
#include "render/TriangleDraw.h"
#include "support/GlTestEnvironment.h"

#include <glad/gl.h>

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Quads of half a unit, at instance offsets (attribute 1), in white.
constexpr const char* kVertexSource = R"(#version 430 core
layout(location = 0) in vec2 corner;
layout(location = 1) in vec2 offset;
void main() { gl_Position = vec4(corner + offset, 0.0, 1.0); }
)";
constexpr const char* kFragmentSource = R"(#version 430 core
out vec4 colour;
void main() { colour = vec4(1.0); }
)";

GLuint compile(GLenum stage, const char* source) {
    const GLuint shader = glCreateShader(stage);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

GLuint whiteProgram() {
    const GLuint program = glCreateProgram();
    const GLuint vertex = compile(GL_VERTEX_SHADER, kVertexSource);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, kFragmentSource);
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return program;
}

// Lower left, lower right, upper right, upper left.
const std::vector<float> kQuad = {-0.25f, -0.25f, 0.25f, -0.25f, 0.25f, 0.25f, -0.25f, 0.25f};
// The same corners in strip order: lower left, lower right, upper left, upper right.
const std::vector<float> kStrip = {-0.25f, -0.25f, 0.25f, -0.25f, -0.25f, 0.25f, 0.25f, 0.25f};
// The quad's two triangles split along the rising or the falling diagonal.
const std::vector<unsigned> kRisingSplit = {0, 1, 2, 2, 3, 0};
const std::vector<unsigned> kFallingSplit = {0, 1, 3, 1, 2, 3};

GLuint uploadBuffer(GLenum target, const void* data, std::size_t bytes) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(target, buffer);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
    return buffer;
}

// A vertex array of corners at location 0, and indices when given; left bound.
struct VertexArray {
    GLuint name = 0;
    GLuint elementBuffer = 0;
    std::vector<GLuint> buffers;

    VertexArray(const std::vector<float>& corners, const std::vector<unsigned>& indices) {
        glGenVertexArrays(1, &name);
        glBindVertexArray(name);
        buffers.push_back(uploadBuffer(GL_ARRAY_BUFFER, corners.data(), corners.size() * 4));
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        if (!indices.empty()) {
            elementBuffer =
                uploadBuffer(GL_ELEMENT_ARRAY_BUFFER, indices.data(), indices.size() * 4);
            buffers.push_back(elementBuffer);
        }
    }
    ~VertexArray() {
        glBindVertexArray(0);
        glDeleteBuffers(static_cast<GLsizei>(buffers.size()), buffers.data());
        glDeleteVertexArrays(1, &name);
    }
};

// Two instances side by side, at x -0.5 and 0.5.
void addInstanceOffsets(VertexArray& array) {
    const std::vector<float> offsets = {-0.5f, 0.0f, 0.5f, 0.0f};
    array.buffers.push_back(uploadBuffer(GL_ARRAY_BUFFER, offsets.data(), offsets.size() * 4));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glVertexAttribDivisor(1, 1);
}

enum class Diagonal { Rising, Falling };

// The window after a draw, asked about a quad centred on (x, y): 200 x 150 pixels.
class Picture {
  public:
    Picture() : pixels_(kWidth * kHeight) {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RED, GL_UNSIGNED_BYTE, pixels_.data());
    }
    // Lit within three pixels of (x, y), along the column or along the row.
    bool litNear(int x, int y) const {
        for (int step = -3; step <= 3; ++step) {
            if (lit(x, y + step) || lit(x + step, y)) {
                return true;
            }
        }
        return false;
    }
    bool outlineLit(int x, int y) const {
        return litNear(x - 100, y) && litNear(x + 100, y) && litNear(x, y - 75) &&
               litNear(x, y + 75);
    }
    // 40 pixels above and below the centre: inside a triangle, off both diagonals.
    bool insideLit(int x, int y) const { return litNear(x, y - 40) || litNear(x, y + 40); }
    bool diagonalLit(int x, int y, Diagonal diagonal) const {
        constexpr int kAcross = 50;
        constexpr int kUp = 37;
        return litNear(x + kAcross, diagonal == Diagonal::Rising ? y + kUp : y - kUp);
    }

  private:
    bool lit(int x, int y) const { return pixels_[y * kWidth + x] != 0; }

    std::vector<unsigned char> pixels_;
};

void expectQuad(const Picture& picture, int x, int y, Diagonal split, bool wireframe) {
    SCOPED_TRACE("quad at " + std::to_string(x));
    const Diagonal other = split == Diagonal::Rising ? Diagonal::Falling : Diagonal::Rising;
    EXPECT_TRUE(picture.outlineLit(x, y)) << "its four sides";
    EXPECT_TRUE(picture.diagonalLit(x, y, split)) << "the split between its triangles";
    EXPECT_EQ(picture.insideLit(x, y), !wireframe) << "the triangles' insides";
    EXPECT_EQ(picture.diagonalLit(x, y, other), !wireframe) << "the other diagonal";
}

class WebglTriangleDraw : public testing::Test {
  protected:
    WebglTriangleDraw() { glUseProgram(program); }
    ~WebglTriangleDraw() override {
        setWireframe(false);
        glUseProgram(0);
        glDeleteProgram(program);
    }

    Picture drawn(const std::function<void()>& draw) const {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
        return Picture();
    }

    GLuint program = whiteProgram();
};

} // namespace

TEST_F(WebglTriangleDraw, EachDrawFillsOrOutlinesItsTrianglesAndKeepsTheElementBuffer) {
    struct Case {
        const char* name;
        std::vector<float> corners;
        std::vector<unsigned> indices;
        bool instanced;
        std::function<void()> draw;
        Diagonal split;
    };
    const std::vector<Case> cases = {
        {"indexed", kQuad, kRisingSplit, false, [] { drawIndexedTriangles(6); }, Diagonal::Rising},
        {"list",
         {-0.25f, -0.25f, 0.25f, -0.25f, 0.25f, 0.25f, 0.25f, 0.25f, -0.25f, 0.25f, -0.25f, -0.25f},
         {},
         false,
         [] { drawTriangleList(6); },
         Diagonal::Rising},
        {"instanced strip",
         kStrip,
         {},
         true,
         [] { drawInstancedTriangleStrip(4, 2); },
         Diagonal::Falling},
    };
    for (const Case& test : cases) {
        for (const bool wireframe : {false, true}) {
            SCOPED_TRACE(std::string(test.name) + (wireframe ? " wireframe" : " filled"));
            VertexArray array(test.corners, test.indices);
            if (test.instanced) {
                addInstanceOffsets(array);
            } else {
                glVertexAttrib2f(1, 0.0f, 0.0f);
            }
            setWireframe(wireframe);
            const Picture picture = drawn(test.draw);
            if (test.instanced) {
                expectQuad(picture, 200, 300, test.split, wireframe);
                expectQuad(picture, 600, 300, test.split, wireframe);
            } else {
                expectQuad(picture, 400, 300, test.split, wireframe);
            }
            GLint elementBuffer = -1;
            glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
            EXPECT_EQ(static_cast<GLuint>(elementBuffer), array.elementBuffer);
            // WebGL2 has no polygon mode to lean on.
            GLint polygonMode[2] = {0, 0};
            glGetIntegerv(GL_POLYGON_MODE, polygonMode);
            EXPECT_EQ(polygonMode[0], GL_FILL);
            EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
        }
    }
}

TEST_F(WebglTriangleDraw, EveryIndexBufferGetsItsOwnOutline) {
    glVertexAttrib2f(1, 0.0f, 0.0f);
    const VertexArray rising(kQuad, kRisingSplit);
    const VertexArray falling(kQuad, kFallingSplit);
    setWireframe(true);
    glBindVertexArray(rising.name);
    expectQuad(drawn([] { drawIndexedTriangles(6); }), 400, 300, Diagonal::Rising, true);
    glBindVertexArray(falling.name);
    expectQuad(drawn([] { drawIndexedTriangles(6); }), 400, 300, Diagonal::Falling, true);

    // New indices in the same buffer, uploaded while the view is off, are outlined anew.
    setWireframe(false);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, 24, kRisingSplit.data(), GL_STATIC_DRAW);
    setWireframe(true);
    expectQuad(drawn([] { drawIndexedTriangles(6); }), 400, 300, Diagonal::Rising, true);
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}

TEST_F(WebglTriangleDraw, ListsAndStripsOfOneVertexCountGetOutlinesOfTheirOwn) {
    VertexArray strip(kStrip, {});
    addInstanceOffsets(strip);
    setWireframe(true);
    // Four vertices as a list make one triangle and a vertex left over.
    const Picture list = drawn([] { drawTriangleList(4); });
    EXPECT_FALSE(list.outlineLit(200, 300));
    expectQuad(drawn([] { drawInstancedTriangleStrip(4, 2); }), 200, 300, Diagonal::Falling, true);
    EXPECT_EQ(takeGlError(), static_cast<unsigned>(GL_NO_ERROR));
}
