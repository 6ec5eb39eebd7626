#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// Where the game may find its content (the folder that holds assets/), in the order it looks.
struct ContentRootSearch {
    // Given with --data: then it is the only place looked at, so that a mistyped folder is
    // reported instead of quietly playing other content.
    std::optional<std::filesystem::path> dataFolder;
    std::filesystem::path workingDirectory;
    // Empty when the running program cannot be located.
    std::filesystem::path executableFolder;
    // An installed game's content as seen from its binary's folder ("../share/games/chronocell").
    std::filesystem::path installedContentFromExecutable;
    // A binary started from the folder it was built in also looks in the source tree it came from.
    std::filesystem::path buildFolder;
    std::filesystem::path sourceFolder;
};

// --data alone when given; else, for an installed game (a binary outside its build folder whose
// installed content holds assets/), that content first, then the working directory; else the
// working directory, the installed content, and from its build folder the source tree.
std::vector<std::filesystem::path> contentRootCandidates(const ContentRootSearch& search);

// The first candidate holding an assets folder.
std::optional<std::filesystem::path>
chooseContentRoot(const std::vector<std::filesystem::path>& candidates);

// The search for this program: the working directory, the running binary and the folders it
// was built with.
ContentRootSearch searchForThisProgram(const std::optional<std::filesystem::path>& dataFolder);

// Chooses the content root and hands it to the path helper; the working directory is handed on
// as the empty root, so that content paths stay relative as written. When no candidate holds
// assets/, writes one line naming the folders tried on standard error and returns false.
bool useContentRoot(const ContentRootSearch& search);

// One line for --help: the content root this search would use, or the folders it tried.
std::string describeContentRoot(const ContentRootSearch& search);
