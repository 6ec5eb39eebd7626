#pragma once

// Decodes an image file into a new mipmapped, repeating 2D texture and returns its name. A file
// that cannot be decoded prints "Failed to load texture" and still yields the (empty) name,
// which samples as black. Leaves the texture bound to GL_TEXTURE_2D.
unsigned int loadTexture(const char* path);
