#pragma once

#include <assimp/DefaultIOSystem.h>

// Assimp's file access with folders refused. The OBJ reader opens a folder named like its
// material file, fails to read it, throws and leaks the open stream; a folder named like the
// model itself reads as an empty scene without error. Seen as missing instead, the first is
// skipped with the default material and the second fails with Assimp's usual message.
class FileOnlyIOSystem : public Assimp::DefaultIOSystem {
  public:
    bool Exists(const char* file) const override;
    Assimp::IOStream* Open(const char* file, const char* mode = "rb") override;
};
