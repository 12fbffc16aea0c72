// GLib's headers name a struct member `signals`, which Qt defines as a macro.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gsettingsbackend.h>
#pragma pop_macro("signals")

#include "GnomeBannerHold.h"

#include <QThread>
#include <QTimer>

#include "PlatformLogging.h"
#include "PreferenceValues.h"
#include "Preferences.h"

namespace {
constexpr char kSchema[] = "org.gnome.desktop.notifications";
constexpr char kKey[] = "show-banners";
} // namespace

const QString GnomeBannerHold::savedBannersKey = QStringLiteral("veltoDoNotDisturbShowBanners");

std::unique_ptr<GnomeBannerHold> GnomeBannerHold::create(
    Preferences& preferences, QString* whyNot, QObject* parent)
{
    auto refuse = [whyNot](const QString& reason) {
        if (whyNot)
            *whyNot = reason;
        return nullptr;
    };
    // Looked up first: GSettings aborts the process when asked for a schema it does not know.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema = source ? g_settings_schema_source_lookup(source, kSchema, TRUE) : nullptr;
    const bool hasKey = schema && g_settings_schema_has_key(schema, kKey);
    if (!hasKey) {
        if (schema)
            g_settings_schema_unref(schema);
        return refuse(tr("GNOME's notification settings are not installed."));
    }
    // Without dconf or a chosen backend, GSettings keeps values in memory: the desktop would never see them.
    GSettingsBackend* backend = g_settings_backend_get_default();
    const bool inMemoryOnly = qstrcmp(G_OBJECT_TYPE_NAME(backend), "GMemorySettingsBackend") == 0;
    GSettings* settings = g_settings_new_full(schema, backend, nullptr);
    g_object_unref(backend);
    g_settings_schema_unref(schema);
    if (inMemoryOnly || !g_settings_is_writable(settings, kKey)) {
        g_object_unref(settings);
        return refuse(inMemoryOnly ? tr("GNOME's settings store cannot be reached.")
                                   : tr("GNOME's notification banners are locked by the administrator."));
    }
    return std::unique_ptr<GnomeBannerHold>(new GnomeBannerHold(preferences, settings, parent));
}

GnomeBannerHold::GnomeBannerHold(Preferences& preferences, GSettings* settings, QObject* parent)
    : BannerHold(parent)
    , m_preferences(preferences)
    , m_settings(settings)
{
    m_handler = g_signal_connect(
        m_settings, "changed::show-banners", G_CALLBACK(&GnomeBannerHold::onChanged), this);
}

GnomeBannerHold::~GnomeBannerHold()
{
    g_signal_handler_disconnect(m_settings, m_handler);
    g_object_unref(m_settings);
}

void GnomeBannerHold::hold(Done done)
{
    if (!m_preferences.value(savedBannersKey).isValid() && showBanners()) {
        // Noted before the change, so that the next start can put it back after a crash.
        m_preferences.setValue(savedBannersKey, true);
        write(false);
    }
    done(true);
}

void GnomeBannerHold::release(Done done)
{
    if (!restore()) {
        done(true);
        return;
    }
    // Velto's own notification follows the release: it must find banners on.
    afterWritesLand(std::move(done));
}

void GnomeBannerHold::releaseBeforeQuit()
{
    if (restore())
        g_settings_sync();
}

bool GnomeBannerHold::restore()
{
    const QVariant saved = m_preferences.value(savedBannersKey);
    if (!saved.isValid())
        return false;
    const bool wrote = !showBanners();
    if (wrote)
        write(PreferenceValues::boolean(saved));
    m_preferences.remove(savedBannersKey);
    return wrote;
}

void GnomeBannerHold::onChanged(GSettings*, const char*, void* self)
{
    auto* hold = static_cast<GnomeBannerHold*>(self);
    if (hold->m_writing || !hold->m_preferences.value(savedBannersKey).isValid() || !hold->showBanners())
        return;
    // The user turned banners on while Velto held them: whatever they choose next is theirs.
    qCInfo(lcDesktop)
        << "Notification banners were turned on by the user; Velto leaves them as the user sets them";
    hold->m_preferences.remove(savedBannersKey);
}

bool GnomeBannerHold::showBanners() const
{
    return g_settings_get_boolean(m_settings, kKey);
}

void GnomeBannerHold::write(bool showBanners)
{
    m_writing = true;
    if (!g_settings_set_boolean(m_settings, kKey, showBanners))
        qCWarning(lcDesktop) << "GNOME's show-banners could not be set to" << showBanners;
    m_writing = false;
}

void GnomeBannerHold::afterWritesLand(Done done)
{
    // dconf stores writes through its own service; waiting for that here would block the
    // interface if the service hung, so a worker waits and a timer caps the wait.
    auto answered = std::make_shared<bool>(false);
    auto finish = [answered, done = std::move(done)](bool ok) {
        if (std::exchange(*answered, true))
            return;
        if (!ok)
            qCWarning(lcDesktop) << "GNOME's settings store did not confirm the banners are back";
        done(ok);
    };
    QThread* worker = QThread::create([] { g_settings_sync(); });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this, [finish] { finish(true); });
    QTimer::singleShot(3000, this, [finish] { finish(false); });
    worker->start();
}
