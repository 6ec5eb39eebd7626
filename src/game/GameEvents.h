#pragma once

// The moments of a game the rules report as they happen, beside what they draw.
enum class GameEvent {
    GameStarted,
    Jumped,
    Landed,
    LaneChanged,
    PhaseSwitched,
    RelicHintRaised,
    RelicModeOn,
    ClockCollected,
    GameWon,
    GameLost,
};

// Where the rules report what happened: the application plays sounds, tests record the order.
// Reporting never changes what the rules do or draw.
class GameEvents {
  public:
    virtual ~GameEvents() = default;
    virtual void report(GameEvent event) = 0;
};
