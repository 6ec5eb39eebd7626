#pragma once

// What a key command does beyond the game's own records: to the window and to the sound. The
// application acts on the real window and mixer; a headless replay and tests leave them alone,
// so every command changes the same records whoever runs it.
class CommandEffects {
  public:
    virtual ~CommandEffects() = default;
    // F has flipped the fullscreen setting; the window follows it.
    virtual void fullscreenChanged() {}
    // O or L has changed the kept refresh rate, a hint for windows created later.
    virtual void refreshRateChanged(int /*refreshRate*/) {}
    // Escape on a text screen: the window closes.
    virtual void quitRequested() {}
    // Escape during play, back to the start screen.
    virtual void playLeft() {}
    // M: sound off or on.
    virtual void muteToggled() {}
};
