#include "app/ContentRoot.h"

#include "platform/Process.h"
#include "render/AssetPath.h"

#include <iostream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool holdsAssets(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder / "assets", error);
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    std::error_code error;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, error);
}

fs::path runningExecutableFolder() {
    return platform::executablePath().parent_path();
}

} // namespace

std::vector<fs::path> contentRootCandidates(const ContentRootSearch& search) {
    if (search.dataFolder) {
        return {*search.dataFolder};
    }
    std::vector<fs::path> candidates;
    if (search.executableFolder.empty()) {
        if (!search.workingDirectory.empty()) {
            candidates.push_back(search.workingDirectory);
        }
        return candidates;
    }
    const fs::path installed =
        (search.executableFolder / search.installedContentFromExecutable).lexically_normal();
    const bool inItsBuildFolder = sameFolder(search.executableFolder, search.buildFolder);
    // An installed game plays its own content wherever it is started, whatever assets/ the
    // folder it was started from happens to hold.
    if (!inItsBuildFolder && holdsAssets(installed)) {
        candidates.push_back(installed);
    }
    if (!search.workingDirectory.empty()) {
        candidates.push_back(search.workingDirectory);
    }
    if (candidates.empty() || candidates.front() != installed) {
        candidates.push_back(installed);
    }
    if (inItsBuildFolder) {
        candidates.push_back(search.sourceFolder);
    }
    return candidates;
}

std::optional<fs::path> chooseContentRoot(const std::vector<fs::path>& candidates) {
    for (const fs::path& candidate : candidates) {
        if (holdsAssets(candidate)) {
            return candidate;
        }
    }
    return std::nullopt;
}

ContentRootSearch searchForThisProgram(const std::optional<fs::path>& dataFolder) {
    ContentRootSearch search;
    search.dataFolder = dataFolder;
    std::error_code error;
    search.workingDirectory = fs::current_path(error);
    search.executableFolder = runningExecutableFolder();
    search.installedContentFromExecutable = CHRONOCELL_CONTENT_FROM_BINARY;
    search.buildFolder = CHRONOCELL_BUILD_FOLDER;
    search.sourceFolder = CHRONOCELL_SOURCE_FOLDER;
    return search;
}

std::string describeContentRoot(const ContentRootSearch& search) {
    const std::vector<fs::path> candidates = contentRootCandidates(search);
    if (const std::optional<fs::path> root = chooseContentRoot(candidates)) {
        return "Content: " + root->string();
    }
    std::string line = "Content: none found in";
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        line += (i == 0 ? " " : ", ") + candidates[i].string();
    }
    return line;
}

bool useContentRoot(const ContentRootSearch& search) {
    const std::vector<fs::path> candidates = contentRootCandidates(search);
    const std::optional<fs::path> root = chooseContentRoot(candidates);
    if (!root) {
        std::cerr << "chronocell: no game content (a folder holding assets/) in";
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            std::cerr << (i == 0 ? " " : ", ") << candidates[i].string();
        }
        std::cerr << std::endl;
        return false;
    }
    const bool isWorkingDirectory = !search.dataFolder && *root == search.workingDirectory;
    setContentRoot(isWorkingDirectory ? fs::path() : *root);
    return true;
}
