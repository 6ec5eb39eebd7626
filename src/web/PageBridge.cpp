#include "web/PageBridge.h"

#include <cstdlib>
#include <emscripten.h>

// The page (web/page.js) keeps its side in Module.chronocellPage.
// clang-format off
EM_JS(char*, takeDroppedFile, (), {
    const name = Module.chronocellPage.takeDrop();
    return name ? stringToNewUTF8(name) : 0;
});
EM_JS(int, takeSessionEndRequest, (), {
    return Module.chronocellPage.takeEndRequest() ? 1 : 0;
});
EM_JS(void, offerRecordingFile, (const char* path), {
    Module.chronocellPage.offerRecording(UTF8ToString(path));
});
EM_JS(void, keepSettingsFile, (), {
    Module.chronocellPage.keepSettings();
});
EM_JS(void, showSessionText, (const char* text), {
    Module.chronocellPage.showSession(UTF8ToString(text));
});
// clang-format on

namespace page {

std::string nextDroppedFile() {
    char* name = takeDroppedFile();
    if (name == nullptr) {
        return {};
    }
    std::string taken(name);
    std::free(name);
    return taken;
}

bool sessionEndRequested() {
    return takeSessionEndRequest() != 0;
}

void offerRecording(const std::string& path) {
    offerRecordingFile(path.c_str());
}

void keepSettings() {
    keepSettingsFile();
}

void showSession(const std::string& description) {
    showSessionText(description.c_str());
}

} // namespace page
