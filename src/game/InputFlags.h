#pragma once

// Debug views switched by F1 and F2; a game start puts both back to the normal picture.
struct InputFlags {
    bool wireframe = false;
    bool cullingEnabled = true;
};
