#include "beacon/BeaconContext.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>

#include <sys/utsname.h>

#include "beacon/BeaconPropertyValue.h"
#include "beacon/BeaconVersion.h"
#include "beacon/Reachability.h"

namespace beacon {

namespace {
using nlohmann::json;

constexpr std::size_t kMaxFactFileBytes = 64 * 1024; // os-release and sysfs entries are tiny

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::optional<std::string> readSmallFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string text(kMaxFactFileBytes, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (file.bad())
        return std::nullopt;
    text.resize(static_cast<std::size_t>(file.gcount()));
    return text;
}

/// The part of a zoneinfo path after ".../zoneinfo/", without the "posix/" or "right/" variants.
std::optional<std::string> zoneFromZoneinfoPath(std::string_view path)
{
    constexpr std::string_view marker = "zoneinfo/";
    const std::size_t at = path.rfind(marker);
    if (at == std::string_view::npos)
        return std::nullopt;
    std::string_view zone = path.substr(at + marker.size());
    for (std::string_view variant : { std::string_view("posix/"), std::string_view("right/") }) {
        if (zone.starts_with(variant))
            zone.remove_prefix(variant.size());
    }
    if (!isTimeZoneIdentifier(zone))
        return std::nullopt;
    return std::string(zone);
}
} // namespace

std::optional<std::string> BeaconSystemProbe::getenv(const std::string& name) const
{
    if (environment)
        return environment(name);
    if (const char* value = std::getenv(name.c_str()))
        return std::string(value);
    return std::nullopt;
}

std::optional<std::string> BeaconSystemProbe::unameMachine() const
{
    if (machine)
        return machine();
    utsname names {};
    if (::uname(&names) != 0)
        return std::nullopt;
    std::string text(trimmed(names.machine));
    if (text.empty())
        return std::nullopt;
    return text;
}

std::optional<std::string> BeaconSystemProbe::readLine(const std::filesystem::path& relativePath) const
{
    const std::optional<std::string> text = readSmallFile(root / relativePath);
    if (!text)
        return std::nullopt;
    std::string_view line = *text;
    line = line.substr(0, line.find('\n'));
    line = trimmed(line);
    if (line.empty())
        return std::nullopt;
    return std::string(line);
}

std::string macDeviceFriendlyName(std::string_view model)
{
    if (model.empty())
        return "Mac";
    if (model.starts_with("MacBookAir"))
        return "MacBook Air";
    if (model.starts_with("MacBookPro"))
        return "MacBook Pro";
    if (model.starts_with("MacBook"))
        return "MacBook";
    if (model.starts_with("Macmini"))
        return "Mac mini";
    if (model.starts_with("MacPro"))
        return "Mac Pro";
    if (model.starts_with("MacStudio") || model.starts_with("Mac13"))
        return "Mac Studio";
    if (model.starts_with("iMac"))
        return "iMac";
    if (!model.starts_with("Mac"))
        return model.starts_with("VirtualMac") ? "Mac (Virtual)" : "Mac";
    for (std::string_view air : { "Mac14,2", "Mac14,15", "Mac15,3", "Mac15,6", "Mac15,7" }) {
        if (model.starts_with(air))
            return "MacBook Air";
    }
    if (model.starts_with("Mac14") || model.starts_with("Mac15"))
        return "MacBook Pro";
    return "Mac";
}

json appBuildValue(std::string_view build)
{
    std::string_view digits = build;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    const bool allDigits = !digits.empty()
        && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!allDigits)
        return json(std::string(build));
    // Parsed with the sign so that the most negative value still fits.
    // Appended piece by piece: GCC 12 warns wrongly (-Wrestrict) about "-" + std::string at -O3.
    std::string signedDigits(negative ? "-" : "");
    signedDigits.append(digits);
    std::int64_t value = 0;
    const auto [end, error]
        = std::from_chars(signedDigits.data(), signedDigits.data() + signedDigits.size(), value);
    if (error != std::errc() || end != signedDigits.data() + signedDigits.size())
        return json(std::string(build)); // too large for an integer: keep the text rather than a wrong number
    return json(value);
}

std::optional<std::string> languageCode(std::string_view localeName)
{
    const std::string_view language = localeName.substr(0, localeName.find_first_of("_.@-"));
    if (language.size() < 2 || language.size() > 3
        || !std::all_of(language.begin(), language.end(), isAsciiLetter))
        return std::nullopt;
    std::string code(language);
    std::transform(code.begin(), code.end(), code.begin(),
        [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return code;
}

std::optional<std::string> currentLanguageCode(const BeaconSystemProbe& probe)
{
    // The first one set decides, as for the C library: LC_ALL=C means no language even with LANG set.
    for (const char* name : { "LC_ALL", "LC_MESSAGES", "LANG" }) {
        const std::optional<std::string> value = probe.getenv(name);
        if (value && !value->empty())
            return languageCode(*value);
    }
    return std::nullopt;
}

bool isTimeZoneIdentifier(std::string_view name)
{
    if (name.empty() || name.size() > 64 || name.front() == '/' || name.back() == '/')
        return false;
    if (name.find("//") != std::string_view::npos || name.find("..") != std::string_view::npos)
        return false;
    const bool allowed = std::all_of(name.begin(), name.end(), [](char c) {
        return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '/' || c == '_' || c == '-' || c == '+';
    });
    return allowed && isAsciiLetter(name.front());
}

std::optional<std::string> currentTimeZoneIdentifier(const BeaconSystemProbe& probe)
{
    if (const std::optional<std::string> tz = probe.getenv("TZ"); tz && !tz->empty()) {
        std::string_view zone = *tz;
        if (zone.front() == ':')
            zone.remove_prefix(1);
        if (zone.starts_with("/"))
            return zoneFromZoneinfoPath(zone);
        // A POSIX rule such as "CET-1CEST,M3.5.0,M10.5.0/3" names no zone; the system's zone
        // would be wrong for this process.
        if (!isTimeZoneIdentifier(zone))
            return std::nullopt;
        return std::string(zone);
    }
    std::error_code error;
    const std::filesystem::path link = std::filesystem::read_symlink(probe.root / "etc/localtime", error);
    if (!error) {
        if (std::optional<std::string> zone = zoneFromZoneinfoPath(link.string()))
            return zone;
    }
    if (const std::optional<std::string> line = probe.readLine("etc/timezone");
        line && isTimeZoneIdentifier(*line))
        return line;
    return std::nullopt;
}

std::map<std::string, std::string> parseOsRelease(std::string_view text)
{
    std::map<std::string, std::string> variables;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0)
            continue;
        const std::string_view name = line.substr(0, equals);
        const bool validName = std::all_of(name.begin(), name.end(),
            [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'; });
        if (!validName)
            continue;
        std::string_view raw = line.substr(equals + 1);
        std::string value;
        char quote = 0;
        if (!raw.empty() && (raw.front() == '"' || raw.front() == '\'')) {
            quote = raw.front();
            raw.remove_prefix(1);
        }
        bool closed = quote == 0;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            const char c = raw[i];
            if (quote != 0 && c == quote) {
                closed = true;
                break;
            }
            // Shell escapes: only inside double quotes or unquoted, never inside single quotes.
            if (c == '\\' && quote != '\'' && i + 1 < raw.size()) {
                value.push_back(raw[++i]);
                continue;
            }
            value.push_back(c);
        }
        if (closed)
            variables[std::string(name)] = std::move(value);
    }
    return variables;
}

BeaconContext::BeaconContext(
    BeaconApplicationInfo application, std::shared_ptr<Reachability> reachability, BeaconSystemProbe probe)
    : m_application(std::move(application))
    , m_reachability(std::move(reachability))
    , m_probe(std::move(probe))
{ }

const json& BeaconContext::staticContext() const
{
    std::call_once(m_staticOnce, [this] {
        json context = json::object();
        if (const auto& name = m_application.name ? m_application.name : m_application.displayName)
            context["$app_name"] = *name;
        if (m_application.shortVersion)
            context["$app_version"] = *m_application.shortVersion;
        if (m_application.build)
            context["$app_build"] = appBuildValue(*m_application.build);
        // The app-store and mobile probes have no meaning on the Linux desktop.
        context["$is_testflight"] = false;
        context["$is_sideloaded"] = false;
        context["$app_namespace"] = m_application.bundleIdentifier.value_or(kBeaconFallbackBundleIdentifier);

        if (const auto vendor = m_probe.readLine("sys/class/dmi/id/sys_vendor"))
            context["$device_manufacturer"] = *vendor;
        std::optional<std::string> model = m_probe.readLine("sys/class/dmi/id/product_name");
        if (!model)
            model = m_probe.unameMachine();
        if (model)
            context["$device_model"] = *model;
        context["$device_type"] = "Desktop";
        context["$is_emulator"] = false;
        context["$is_ios_running_on_mac"] = false;
        context["$is_mac_catalyst_app"] = false;
        // The model, never the host name: a device name must not identify anyone.
        if (model)
            context["$device_name"] = *model;

        std::optional<std::string> osRelease = readSmallFile(m_probe.root / "etc/os-release");
        if (!osRelease)
            osRelease = readSmallFile(m_probe.root / "usr/lib/os-release");
        const std::map<std::string, std::string> os = parseOsRelease(osRelease.value_or(""));
        const auto name = os.find("NAME");
        // os-release(5): NAME defaults to "Linux".
        context["$os_name"] = name != os.end() && !name->second.empty() ? name->second : std::string("Linux");
        if (const auto version = os.find("VERSION_ID"); version != os.end() && !version->second.empty())
            context["$os_version"] = version->second;

        // Files may hold anything; only valid text is sent.
        for (auto it = context.begin(); it != context.end();) {
            if (it->is_string() && !isValidUtf8(it->get_ref<const std::string&>()))
                it = context.erase(it);
            else
                ++it;
        }
        m_staticContext = std::move(context);
    });
    return m_staticContext;
}

json BeaconContext::dynamicContext() const
{
    json context = json::object();
    if (const std::optional<BeaconScreenSize> size = screenSize()) {
        context["$screen_width"] = size->width;
        context["$screen_height"] = size->height;
    }
    std::optional<std::string> language = currentLanguageCode(m_probe);
    // LANG and LC_* unset, C or POSIX: the application's locale still tells the user's language.
    if (!language && m_application.locale)
        language = languageCode(*m_application.locale);
    if (language)
        context["$locale"] = *language;
    if (const std::optional<std::string> zone = currentTimeZoneIdentifier(m_probe))
        context["$timezone"] = *zone;
    // A network that is only assumed reachable says nothing about Wi-Fi: both keys are left out,
    // as without reachability, rather than claiming one answer or the other.
    if (const auto connection = m_reachability ? m_reachability->knownConnection() : std::nullopt) {
        context["$network_wifi"] = *connection == Reachability::Connection::wifi;
        context["$network_cellular"] = false;
    }
    return context;
}

const json& BeaconContext::sdkInfo() const
{
    std::call_once(m_sdkInfoOnce, [this] {
        m_sdkInfo = json {
            { "$lib", BeaconVersion::libraryName() },
            { "$lib_version", BeaconVersion::libraryVersion() },
        };
    });
    return m_sdkInfo;
}

const json& BeaconContext::personPropertiesContext() const
{
    std::call_once(m_personOnce, [this] {
        const json& context = staticContext();
        json person = json::object();
        for (const char* key :
            { "$app_version", "$app_build", "$app_namespace", "$os_name", "$os_version", "$device_type" }) {
            if (const auto it = context.find(key); it != context.end())
                person[key] = *it;
        }
        m_personPropertiesContext = std::move(person);
    });
    return m_personPropertiesContext;
}

void BeaconContext::setScreenSize(std::optional<BeaconScreenSize> size)
{
    // A size that is not a real, positive number would be sent as null or nonsense.
    if (size
        && !(
            std::isfinite(size->width) && std::isfinite(size->height) && size->width > 0 && size->height > 0))
        size.reset();
    const std::unique_lock lock(m_screenSizeLock);
    m_screenSize = size;
}

std::optional<BeaconScreenSize> BeaconContext::screenSize() const
{
    const std::shared_lock lock(m_screenSizeLock);
    return m_screenSize;
}

} // namespace beacon
