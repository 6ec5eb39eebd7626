// The browser's triangle draws. WebGL2 has no polygon mode, so the wireframe view draws every
// triangle's three edges as GL_LINES through line element buffers made on first use; filled
// draws are the desktop's calls.
#include "render/TriangleDraw.h"

#include "render/EdgeIndices.h"

#include <glad/gl.h>
// glGetBufferSubData: WebGL2 has it where OpenGL ES 3.0 only maps buffers. Desktop GL has it
// too, and every other call here, so the tests run this file on the desktop's context.
#ifdef __EMSCRIPTEN__
#include <webgl/webgl2.h>
#endif

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

namespace {

struct LineIndices {
    GLuint buffer = 0;
    GLsizei count = 0;
};

// What the desktop's polygon mode keeps in the GL context. A page has one context, so one state
// serves the program. Uploaded index buffers never change, so an outline made from one stays
// right for as long as the wireframe view lasts; turning the view off lets every outline go, so
// a buffer name deleted and reused meanwhile cannot find a stale one.
struct WireframeState {
    bool enabled = false;
    std::map<std::pair<GLuint, GLsizei>, LineIndices> indexedOutlines;
    std::map<GLsizei, LineIndices> listOutlines;
    std::map<GLsizei, LineIndices> stripOutlines;
};

WireframeState& wireframeState() {
    static WireframeState state;
    return state;
}

// Leaves the new buffer bound as the vertex array's element buffer; the draw binds back the
// vertex array's own.
LineIndices uploadLineIndices(const std::vector<unsigned>& edges) {
    LineIndices lines;
    lines.count = static_cast<GLsizei>(edges.size());
    glGenBuffers(1, &lines.buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, lines.buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(edges.size() * sizeof(unsigned)),
                 edges.data(), GL_STATIC_DRAW);
    return lines;
}

void releaseOutlines(WireframeState& state) {
    const auto release = [](auto& outlines) {
        for (auto& [key, lines] : outlines) {
            glDeleteBuffers(1, &lines.buffer);
        }
        outlines.clear();
    };
    release(state.indexedOutlines);
    release(state.listOutlines);
    release(state.stripOutlines);
}

GLuint boundElementBuffer() {
    GLint name = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &name);
    return static_cast<GLuint>(name);
}

// The bound element buffer's first indexCount triangle corners, read back from the GPU once per
// outline: the draw calls name only the buffer, not the indices the mesh uploaded.
std::vector<unsigned> readBoundTriangleCorners(GLsizei indexCount) {
    std::vector<unsigned> corners(static_cast<std::size_t>(indexCount));
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0,
                       static_cast<GLsizeiptr>(corners.size() * sizeof(unsigned)), corners.data());
    return corners;
}

// The outline of vertices 0 .. vertexCount-1, made on first use.
template <typename MakeEdges>
const LineIndices& outlineOf(std::map<GLsizei, LineIndices>& outlines, GLsizei vertexCount,
                             MakeEdges makeEdges) {
    auto found = outlines.find(vertexCount);
    if (found == outlines.end()) {
        const std::vector<unsigned> edges = makeEdges(static_cast<unsigned>(vertexCount));
        found = outlines.emplace(vertexCount, uploadLineIndices(edges)).first;
    }
    return found->second;
}

// The outline of the bound element buffer's first indexCount corners, made on first use.
const LineIndices& indexedOutline(GLuint triangles, GLsizei indexCount) {
    auto& outlines = wireframeState().indexedOutlines;
    const std::pair key(triangles, indexCount);
    auto found = outlines.find(key);
    if (found == outlines.end()) {
        const std::vector<unsigned> edges = triangleListEdges(readBoundTriangleCorners(indexCount));
        found = outlines.emplace(key, uploadLineIndices(edges)).first;
    }
    return found->second;
}

// Draws an outline through the vertex array's element buffer slot and binds back the buffer
// the slot held, which findOutline may have to read before it makes the outline.
template <typename FindOutline> void drawOutline(GLsizei instanceCount, FindOutline findOutline) {
    const GLuint elementBuffer = boundElementBuffer();
    const LineIndices& lines = findOutline(elementBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, lines.buffer);
    glDrawElementsInstanced(GL_LINES, lines.count, GL_UNSIGNED_INT, nullptr, instanceCount);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
}

} // namespace

void setWireframe(bool wireframe) {
    WireframeState& state = wireframeState();
    state.enabled = wireframe;
    if (!wireframe) {
        releaseOutlines(state);
    }
}

void drawIndexedTriangles(int indexCount) {
    if (!wireframeState().enabled) {
        glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_INT, nullptr);
    } else if (indexCount > 0) {
        drawOutline(1, [indexCount](GLuint triangles) -> const LineIndices& {
            return indexedOutline(triangles, indexCount);
        });
    }
}

void drawTriangleList(int vertexCount) {
    if (!wireframeState().enabled) {
        glDrawArrays(GL_TRIANGLES, 0, vertexCount);
    } else if (vertexCount > 0) {
        drawOutline(1, [vertexCount](GLuint) -> const LineIndices& {
            return outlineOf(wireframeState().listOutlines, vertexCount, triangleSequenceEdges);
        });
    }
}

void drawInstancedTriangleStrip(int vertexCount, int instanceCount) {
    if (!wireframeState().enabled) {
        glDrawArraysInstanced(GL_TRIANGLE_STRIP, 0, vertexCount, instanceCount);
    } else if (vertexCount > 0) {
        drawOutline(instanceCount, [vertexCount](GLuint) -> const LineIndices& {
            return outlineOf(wireframeState().stripOutlines, vertexCount, triangleStripEdges);
        });
    }
}
