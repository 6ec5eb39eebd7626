#include "web/PageBridge.h"

#include <cstdlib>

// The page's side (web/page.js, Module.chronocellPage), reached through web/library.js.
extern "C" {
char* chronocell_takeDroppedFile();
int chronocell_takeSessionEndRequest();
void chronocell_offerRecording(const char* path);
void chronocell_keepSettings();
void chronocell_showSession(const char* text);
void chronocell_resizeCanvas(int width, int height);
}

namespace page {

std::string nextDroppedFile() {
    char* name = chronocell_takeDroppedFile();
    if (name == nullptr) {
        return {};
    }
    std::string taken(name);
    std::free(name);
    return taken;
}

bool sessionEndRequested() {
    return chronocell_takeSessionEndRequest() != 0;
}

void offerRecording(const std::string& path) {
    chronocell_offerRecording(path.c_str());
}

void keepSettings() {
    chronocell_keepSettings();
}

void resizeCanvas(int width, int height) {
    chronocell_resizeCanvas(width, height);
}

void showSession(const std::string& description) {
    chronocell_showSession(description.c_str());
}

} // namespace page
