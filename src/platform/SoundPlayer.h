#pragma once

/// Plays the end-of-interval sound.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void playCompletionSound() = 0;
};
