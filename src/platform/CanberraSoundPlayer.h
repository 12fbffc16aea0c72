#pragma once

#include "SoundPlayer.h"

struct ca_context;

/// The freedesktop sound theme's "complete" event through libcanberra.
/// Silent when there is no theme or no audio device.
class CanberraSoundPlayer final : public SoundPlayer {
public:
    CanberraSoundPlayer();
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void playCompletionSound() override;

private:
    ca_context* m_context = nullptr;
};
