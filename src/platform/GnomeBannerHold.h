#pragma once

#include <memory>

#include "BannerHold.h"

class Preferences;
typedef struct _GSettings GSettings; // NOLINT(bugprone-reserved-identifier): GLib's own name

/// GNOME's `show-banners` key of `org.gnome.desktop.notifications`, through GSettings, so it
/// works with whichever settings backend the desktop uses (dconf, or the keyfile backend).
/// The user's value is noted in the preferences before it is changed and put back at
/// release, at quit, or at the next start after a crash, unless the user has turned banners
/// on again meanwhile: from then on the key is theirs.
class GnomeBannerHold final : public BannerHold {
    Q_OBJECT

public:
    /// Preference key: the `show-banners` value to put back, present while Velto has changed it.
    static const QString savedBannersKey;

    /// Null where GNOME's notification settings are missing or cannot be changed;
    /// `whyNot` then gets one translated line saying which.
    static std::unique_ptr<GnomeBannerHold> create(
        Preferences& preferences, QString* whyNot = nullptr, QObject* parent = nullptr);
    ~GnomeBannerHold() override;

    void hold(Done done) override;
    void release(Done done) override;
    void releaseBeforeQuit() override;

private:
    GnomeBannerHold(Preferences& preferences, GSettings* settings, QObject* parent);
    static void onChanged(GSettings* settings, const char* key, void* self);
    /// Puts the user's value back where show-banners is still off; false when it could not.
    bool restore();
    bool showBanners() const;
    void write(bool showBanners);
    /// Runs `done` once the settings backend has stored what was written.
    void afterWritesLand(Done done);

    Preferences& m_preferences;
    GSettings* m_settings;
    unsigned long m_handler = 0;
    bool m_writing = false;
};
