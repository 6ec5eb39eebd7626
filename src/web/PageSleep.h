#pragma once

#include <chrono>
#include <functional>

// Sleeps without holding the browser up: the page's loop is suspended in slices of at most 10 ms
// (emscripten's Asyncify), the browser draws and handles events meanwhile, and `betweenSlices`,
// when given, runs after each.
void sleepInPage(std::chrono::steady_clock::duration length,
                 const std::function<void()>& betweenSlices = {});
