#pragma once

#include <string>

// What the game and the page around it tell each other. The page never calls into the game: it
// leaves files and requests where the game's loop picks them up between passes, for a pass may
// be suspended in a freeze when the player drops a file.
namespace page {

// The next file dropped on the page, saved under its own name in the working folder; empty when
// none waits.
std::string nextDroppedFile();
// Whether the player asked, with the page's button, for the session to end.
bool sessionEndRequested();
// Offers a session's finished recording for download, and removes it from the page's memory.
void offerRecording(const std::string& path);
// Saves what the player's settings file holds in the browser's storage for the next visit.
void keepSettings();
// The canvas, and the window the game sees, take a session's size. (GLFW's own resize would
// ask for fullscreen whenever the size is the screen's.)
void resizeCanvas(int width, int height);
// The page's status: "playing" or "replaying NAME".
void showSession(const std::string& description);

} // namespace page
