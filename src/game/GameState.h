#pragma once

// What the main loop shows: one of three text screens or a game in progress.
enum class GameState { StartScreen = 0, Won = 1, Lost = 2, Playing = 3 };
