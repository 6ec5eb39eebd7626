#include "export/EglOffscreenContext.h"

#include <gtest/gtest.h>
#include <string>

// Catches a search for the name as a substring (a longer extension that begins or ends with it
// would pass for it), a last name or a trailing space left unread, and a null list dereferenced.
TEST(EglOffscreenContext, ListsAnExtensionOnlyWhenItIsNamedWhole) {
    struct Case {
        const char* extensions;
        const char* wanted;
        bool listed;
    };
    const Case cases[] = {
        {nullptr, "EGL_KHR_surfaceless_context", false},
        {"", "EGL_KHR_surfaceless_context", false},
        {"EGL_KHR_surfaceless_context", "EGL_KHR_surfaceless_context", true},
        {"EGL_KHR_a EGL_KHR_surfaceless_context EGL_KHR_b", "EGL_KHR_surfaceless_context", true},
        {"EGL_KHR_a EGL_KHR_surfaceless_context", "EGL_KHR_surfaceless_context", true},
        // Mesa ends its display's list with a space.
        {"EGL_KHR_a EGL_KHR_surfaceless_context ", "EGL_KHR_surfaceless_context", true},
        {"EGL_KHR_a  EGL_KHR_b", "EGL_KHR_b", true},
        {"EGL_KHR_surfaceless_context_extra", "EGL_KHR_surfaceless_context", false},
        {"X_EGL_KHR_surfaceless_context", "EGL_KHR_surfaceless_context", false},
        {"EGL_KHR_surfaceless", "EGL_KHR_surfaceless_context", false},
        {"EGL_KHR_a EGL_KHR_b", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EglOffscreenContext::listsExtension(c.extensions, c.wanted), c.listed)
            << "\"" << (c.extensions != nullptr ? c.extensions : "(null)") << "\" naming \""
            << c.wanted << "\"";
    }
}
