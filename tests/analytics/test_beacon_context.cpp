// Device, application and library context, read from fixture folders instead of the machine.
#include "beacon/BeaconContext.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "ManualNetworkStateSource.h"
#include "TemporaryDirectory.h"
#include "beacon/BeaconVersion.h"
#include "beacon/Reachability.h"

namespace {
using beacon::BeaconApplicationInfo;
using beacon::BeaconContext;
using beacon::BeaconScreenSize;
using beacon::BeaconSystemProbe;
using beacon::ReachabilityFlag;
using beacon::test::ManualNetworkStateSource;
using beacon::test::TemporaryDirectory;
using nlohmann::json;
namespace fs = std::filesystem;

/// A fake file system root and environment for one context.
class SystemFixture {
public:
    void write(const fs::path& relative, const std::string& content)
    {
        const fs::path path = m_root.path() / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    void link(const fs::path& relative, const fs::path& target)
    {
        const fs::path path = m_root.path() / relative;
        fs::create_directories(path.parent_path());
        fs::create_symlink(target, path);
    }
    void setenv(const std::string& name, const std::string& value) { m_environment[name] = value; }
    void setMachine(std::optional<std::string> machine) { m_machine = std::move(machine); }

    BeaconSystemProbe probe() const
    {
        BeaconSystemProbe probe;
        probe.root = m_root.path();
        probe.environment
            = [environment = m_environment](const std::string& name) -> std::optional<std::string> {
            const auto it = environment.find(name);
            if (it == environment.end())
                return std::nullopt;
            return it->second;
        };
        probe.machine = [machine = m_machine] { return machine; };
        return probe;
    }

private:
    TemporaryDirectory m_root;
    std::map<std::string, std::string> m_environment;
    std::optional<std::string> m_machine = "x86_64";
};

BeaconApplicationInfo veltoInfo()
{
    BeaconApplicationInfo info;
    info.name = "Velto";
    info.displayName = "Velto Focus";
    info.shortVersion = "1.0.0";
    info.build = "42";
    info.bundleIdentifier = "studio.murv.Velto";
    return info;
}

constexpr const char* kDebianOsRelease = R"osr(PRETTY_NAME="Debian GNU/Linux 12 (bookworm)"
NAME="Debian GNU/Linux"
VERSION_ID="12"
VERSION="12 (bookworm)"
ID=debian
)osr";

class BeaconContextTest : public ::testing::Test {
protected:
    SystemFixture system;

    void SetUp() override
    {
        system.write("etc/os-release", kDebianOsRelease);
        system.write("sys/class/dmi/id/sys_vendor", "LENOVO\n");
        system.write("sys/class/dmi/id/product_name", "20XW0055GE\n");
    }

    json staticContext(BeaconApplicationInfo info = veltoInfo())
    {
        BeaconContext context(std::move(info), nullptr, system.probe());
        return context.staticContext();
    }
};

TEST_F(BeaconContextTest, StaticContextHoldsTheLinuxFacts)
{
    EXPECT_EQ(staticContext(),
        (json {
            { "$app_name", "Velto" },
            { "$app_version", "1.0.0" },
            { "$app_build", 42 },
            { "$app_namespace", "studio.murv.Velto" },
            { "$is_testflight", false },
            { "$is_sideloaded", false },
            { "$device_manufacturer", "LENOVO" },
            { "$device_model", "20XW0055GE" },
            { "$device_type", "Desktop" },
            { "$is_emulator", false },
            { "$is_ios_running_on_mac", false },
            { "$is_mac_catalyst_app", false },
            { "$device_name", "20XW0055GE" },
            { "$os_name", "Debian GNU/Linux" },
            { "$os_version", "12" },
        }));
}

TEST_F(BeaconContextTest, NothingIdentifyingIsSent)
{
    system.write("etc/hostname", "alices-thinkpad\n");
    system.write("etc/machine-id", "4c4c4544004a3510804cb2c04f4e3332\n");
    system.write("sys/class/dmi/id/product_serial", "PF3ABCDE\n");
    system.write("sys/class/dmi/id/product_uuid", "4C4C4544-004A-3510-804C-B2C04F4E3332\n");
    system.setenv("HOSTNAME", "alices-thinkpad");
    BeaconContext context(veltoInfo(), nullptr, system.probe());
    const std::string everything = context.staticContext().dump() + context.dynamicContext().dump();
    for (const char* secret : { "alices", "4c4c4544", "4C4C4544", "PF3ABCDE" })
        EXPECT_EQ(everything.find(secret), std::string::npos) << secret;
}

TEST_F(BeaconContextTest, WithoutDmiTheModelIsTheMachineAndTheMakerIsLeftOut)
{
    fs::remove_all(system.probe().root / "sys");
    system.setMachine("aarch64");
    const json context = staticContext();
    EXPECT_FALSE(context.contains("$device_manufacturer"));
    EXPECT_EQ(context["$device_model"], "aarch64");
    EXPECT_EQ(context["$device_name"], "aarch64");
}

TEST_F(BeaconContextTest, BlankDmiEntriesCountAsUnreadable)
{
    system.write("sys/class/dmi/id/sys_vendor", "  \n");
    system.write("sys/class/dmi/id/product_name", "\n");
    const json context = staticContext();
    EXPECT_FALSE(context.contains("$device_manufacturer"));
    EXPECT_EQ(context["$device_model"], "x86_64");
}

TEST_F(BeaconContextTest, WithNoModelAtAllBothModelKeysAreLeftOut)
{
    fs::remove_all(system.probe().root / "sys");
    system.setMachine(std::nullopt);
    const json context = staticContext();
    EXPECT_FALSE(context.contains("$device_model"));
    EXPECT_FALSE(context.contains("$device_name"));
}

TEST_F(BeaconContextTest, OsReleaseFallsBackToUsrLibThenToLinux)
{
    fs::remove(system.probe().root / "etc/os-release");
    system.write("usr/lib/os-release", "NAME=Fedora\nVERSION_ID=40\n");
    EXPECT_EQ(staticContext()["$os_name"], "Fedora");
    EXPECT_EQ(staticContext()["$os_version"], "40");

    fs::remove(system.probe().root / "usr/lib/os-release");
    const json context = staticContext();
    EXPECT_EQ(context["$os_name"], "Linux");
    EXPECT_FALSE(context.contains("$os_version"));
}

TEST_F(BeaconContextTest, ApplicationFactsFallBackOrAreLeftOut)
{
    BeaconApplicationInfo info = veltoInfo();
    info.name.reset();
    EXPECT_EQ(staticContext(info)["$app_name"], "Velto Focus");

    const json bare = staticContext(BeaconApplicationInfo {});
    EXPECT_FALSE(bare.contains("$app_name"));
    EXPECT_FALSE(bare.contains("$app_version"));
    EXPECT_FALSE(bare.contains("$app_build"));
    EXPECT_EQ(bare["$app_namespace"], beacon::kBeaconFallbackBundleIdentifier);
}

TEST_F(BeaconContextTest, TextThatIsNotUtf8IsLeftOut)
{
    system.write("sys/class/dmi/id/sys_vendor", "Fabrikam \xff\n");
    BeaconApplicationInfo info = veltoInfo();
    info.shortVersion = "1.0\xc0";
    const json context = staticContext(info);
    EXPECT_FALSE(context.contains("$device_manufacturer"));
    EXPECT_FALSE(context.contains("$app_version"));
    EXPECT_NO_THROW((void)context.dump());
}

TEST_F(BeaconContextTest, PersonPropertiesContextCopiesSixStaticFacts)
{
    BeaconContext context(veltoInfo(), nullptr, system.probe());
    EXPECT_EQ(context.personPropertiesContext(),
        (json {
            { "$app_version", "1.0.0" },
            { "$app_build", 42 },
            { "$app_namespace", "studio.murv.Velto" },
            { "$os_name", "Debian GNU/Linux" },
            { "$os_version", "12" },
            { "$device_type", "Desktop" },
        }));

    BeaconContext bare(BeaconApplicationInfo {}, nullptr, system.probe());
    EXPECT_FALSE(bare.personPropertiesContext().contains("$app_version"));
    EXPECT_FALSE(bare.personPropertiesContext().contains("$app_build"));
}

TEST_F(BeaconContextTest, SdkInfoNamesTheLibrary)
{
    BeaconContext context(veltoInfo(), nullptr, system.probe());
    EXPECT_EQ(context.sdkInfo(), (json { { "$lib", "beacon-desktop" }, { "$lib_version", "1.0.0" } }));

    beacon::BeaconVersion::setLibraryName("beacon-wrapper");
    beacon::BeaconVersion::setLibraryVersion("9.9");
    BeaconContext wrapped(veltoInfo(), nullptr, system.probe());
    EXPECT_EQ(wrapped.sdkInfo(), (json { { "$lib", "beacon-wrapper" }, { "$lib_version", "9.9" } }));
    beacon::BeaconVersion::reset();
}

TEST_F(BeaconContextTest, DynamicContextHasScreenSizeOnlyWhenKnown)
{
    BeaconContext context(veltoInfo(), nullptr, system.probe());
    EXPECT_FALSE(context.dynamicContext().contains("$screen_width"));

    context.setScreenSize(BeaconScreenSize { 2560, 1440 });
    json dynamic = context.dynamicContext();
    EXPECT_EQ(dynamic["$screen_width"], 2560.0);
    EXPECT_EQ(dynamic["$screen_height"], 1440.0);
    EXPECT_TRUE(dynamic["$screen_width"].is_number_float());

    context.setScreenSize(std::nullopt);
    EXPECT_FALSE(context.dynamicContext().contains("$screen_height"));
}

TEST_F(BeaconContextTest, ScreenSizesThatAreNotRealArePutAsideAsUnknown)
{
    BeaconContext context(veltoInfo(), nullptr, system.probe());
    for (const BeaconScreenSize size : { BeaconScreenSize { std::nan(""), 100 },
             BeaconScreenSize { 100, std::numeric_limits<double>::infinity() }, BeaconScreenSize { 0, 100 },
             BeaconScreenSize { -5, 100 } }) {
        context.setScreenSize(BeaconScreenSize { 800, 600 });
        context.setScreenSize(size);
        EXPECT_EQ(context.screenSize(), std::nullopt) << size.width << "x" << size.height;
    }
}

TEST_F(BeaconContextTest, DynamicContextHasLocaleAndTimeZone)
{
    system.setenv("LANG", "de_AT.UTF-8");
    system.setenv("TZ", "Europe/Vienna");
    BeaconContext context(veltoInfo(), nullptr, system.probe());
    const json dynamic = context.dynamicContext();
    EXPECT_EQ(dynamic["$locale"], "de");
    EXPECT_EQ(dynamic["$timezone"], "Europe/Vienna");
    EXPECT_FALSE(dynamic.contains("$network_wifi"));
    EXPECT_FALSE(dynamic.contains("$network_cellular"));
}

TEST(BeaconContextLocaleTest, WithoutALanguageInTheEnvironmentTheApplicationsLocaleDecides)
{
    BeaconApplicationInfo info = veltoInfo();
    info.locale = "pt-BR";
    const auto localeWith = [](const BeaconApplicationInfo& application,
                                const std::map<std::string, std::string>& environment) {
        SystemFixture system;
        for (const auto& [name, value] : environment)
            system.setenv(name, value);
        return BeaconContext(application, nullptr, system.probe()).dynamicContext().value("$locale", json());
    };
    EXPECT_EQ(localeWith(info, {}), "pt");
    EXPECT_EQ(localeWith(info, { { "LANG", "C" } }), "pt");
    EXPECT_EQ(localeWith(info, { { "LANG", "de_AT.UTF-8" }, { "LC_ALL", "POSIX" } }), "pt");
    EXPECT_EQ(localeWith(info, { { "LANG", "de_AT.UTF-8" } }), "de");
    EXPECT_EQ(localeWith(veltoInfo(), { { "LANG", "C.UTF-8" } }), json());
}

TEST_F(BeaconContextTest, NetworkKeysFollowReachability)
{
    auto source = std::make_shared<ManualNetworkStateSource>();
    auto reachability = beacon::Reachability::create(source);
    BeaconContext context(veltoInfo(), reachability, system.probe());
    EXPECT_EQ(context.dynamicContext()["$network_wifi"], true);
    EXPECT_EQ(context.dynamicContext()["$network_cellular"], false);

    reachability->startNotifier();
    source->change(ReachabilityFlag::reachable | ReachabilityFlag::connectionRequired);
    reachability->flushForTesting();
    EXPECT_EQ(context.dynamicContext()["$network_wifi"], false);
    EXPECT_EQ(context.dynamicContext()["$network_cellular"], false);

    // Nothing to ask (no network manager): reachable for the queues, but nothing is claimed.
    source->change(ReachabilityFlag::reachable | ReachabilityFlag::assumed);
    reachability->flushForTesting();
    EXPECT_EQ(reachability->connection(), beacon::Reachability::Connection::wifi);
    EXPECT_FALSE(context.dynamicContext().contains("$network_wifi"));
    EXPECT_FALSE(context.dynamicContext().contains("$network_cellular"));
    reachability->stopNotifier();
}

TEST_F(BeaconContextTest, ScreenSizeMayChangeWhileEventsAreBuilt)
{
    BeaconContext context(veltoInfo(), nullptr, system.probe());
    std::atomic<bool> stop { false };
    std::thread writer([&] {
        for (int i = 1; !stop.load(); ++i)
            context.setScreenSize(BeaconScreenSize { static_cast<double>(i), static_cast<double>(i) });
    });
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r) {
        readers.emplace_back([&] {
            for (int i = 0; i < 300; ++i) {
                const json dynamic = context.dynamicContext();
                // Width and height are written together, so they are always read together.
                if (dynamic.contains("$screen_width")) {
                    EXPECT_EQ(dynamic["$screen_width"], dynamic["$screen_height"]);
                }
                EXPECT_EQ(context.staticContext()["$device_type"], "Desktop");
            }
        });
    }
    for (std::thread& reader : readers)
        reader.join();
    stop = true;
    writer.join();
}

TEST(AppBuildValueTest, WholeDecimalNumbersBecomeIntegers)
{
    struct Case {
        const char* build;
        json expected;
    };
    const std::vector<Case> cases = {
        { "42", 42 },
        { "+7", 7 },
        { "-3", -3 },
        { "007", 7 },
        { "9223372036854775807", INT64_MAX },
        { "-9223372036854775808", INT64_MIN },
        { "9223372036854775808", "9223372036854775808" }, // too large: the text, not a wrapped number
        { "1.2", "1.2" },
        { "12a", "12a" },
        { " 42", " 42" },
        { "0x1F", "0x1F" },
        { "+", "+" },
        { "-", "-" },
        { "", "" },
        { "+-1", "+-1" },
    };
    for (const Case& c : cases) {
        const json value = beacon::appBuildValue(c.build);
        EXPECT_EQ(value, c.expected) << '"' << c.build << '"';
        EXPECT_EQ(value.type(), c.expected.type()) << '"' << c.build << '"';
    }
}

TEST(MacDeviceFriendlyNameTest, FollowsTheModelRulesInOrder)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        { "", "Mac" },
        { "MacBookAir10,1", "MacBook Air" },
        { "MacBookPro18,3", "MacBook Pro" },
        { "MacBook10,1", "MacBook" },
        { "Macmini9,1", "Mac mini" },
        { "MacPro7,1", "Mac Pro" },
        { "MacStudio1,1", "Mac Studio" },
        { "Mac13,2", "Mac Studio" },
        { "iMac21,1", "iMac" },
        { "VirtualMac2,1", "Mac (Virtual)" },
        { "x86_64", "Mac" },
        { "Mac14,2", "MacBook Air" },
        { "Mac14,15", "MacBook Air" },
        { "Mac15,3", "MacBook Air" },
        { "Mac15,6", "MacBook Air" },
        { "Mac15,7", "MacBook Air" },
        { "Mac14,5", "MacBook Pro" },
        { "Mac15,10", "MacBook Pro" },
        { "Mac16,1", "Mac" },
    };
    for (const auto& [model, name] : cases)
        EXPECT_EQ(beacon::macDeviceFriendlyName(model), name) << model;
}

TEST(LanguageCodeTest, TakesTheLanguageOfALocaleName)
{
    const std::vector<std::pair<const char*, std::optional<std::string>>> cases = {
        { "en_US.UTF-8", "en" },
        { "de_AT.UTF-8@euro", "de" },
        { "fr", "fr" },
        { "ast_ES", "ast" },
        { "PT_br", "pt" },
        { "pt-BR", "pt" },
        { "zh-Hant-TW", "zh" },
        { "sr@latin", "sr" },
        { "C", std::nullopt },
        { "C.UTF-8", std::nullopt },
        { "POSIX", std::nullopt },
        { "", std::nullopt },
        { "e1_US", std::nullopt },
        { "english", std::nullopt },
    };
    for (const auto& [locale, code] : cases)
        EXPECT_EQ(beacon::languageCode(locale), code) << locale;
}

TEST(LanguageCodeTest, TheFirstVariableSetDecides)
{
    SystemFixture system;
    EXPECT_EQ(beacon::currentLanguageCode(system.probe()), std::nullopt);
    system.setenv("LANG", "en_GB.UTF-8");
    EXPECT_EQ(beacon::currentLanguageCode(system.probe()), "en");
    system.setenv("LC_MESSAGES", "fr_FR.UTF-8");
    EXPECT_EQ(beacon::currentLanguageCode(system.probe()), "fr");
    system.setenv("LC_ALL", "");
    EXPECT_EQ(beacon::currentLanguageCode(system.probe()), "fr");
    system.setenv("LC_ALL", "C");
    EXPECT_EQ(beacon::currentLanguageCode(system.probe()), std::nullopt);
}

TEST(TimeZoneTest, TzNamesTheZone)
{
    const std::vector<std::pair<const char*, std::optional<std::string>>> cases = {
        { "Europe/Berlin", "Europe/Berlin" },
        { ":America/New_York", "America/New_York" },
        { ":/usr/share/zoneinfo/Asia/Tokyo", "Asia/Tokyo" },
        { "/usr/share/zoneinfo/posix/Etc/GMT+1", "Etc/GMT+1" },
        { "UTC", "UTC" },
        { "CET-1CEST,M3.5.0,M10.5.0/3", std::nullopt },
        { "/etc/somewhere/else", std::nullopt },
        { "../../etc/passwd", std::nullopt },
    };
    for (const auto& [tz, zone] : cases) {
        SystemFixture system;
        system.link("etc/localtime", "/usr/share/zoneinfo/Europe/Paris");
        system.setenv("TZ", tz);
        EXPECT_EQ(beacon::currentTimeZoneIdentifier(system.probe()), zone) << tz;
    }
}

TEST(TimeZoneTest, WithoutTzTheLocaltimeLinkThenTheTimezoneFileDecide)
{
    SystemFixture system;
    EXPECT_EQ(beacon::currentTimeZoneIdentifier(system.probe()), std::nullopt);

    system.write("etc/timezone", "Europe/Lisbon\n");
    EXPECT_EQ(beacon::currentTimeZoneIdentifier(system.probe()), "Europe/Lisbon");

    system.link("etc/localtime", "../usr/share/zoneinfo/Australia/Perth");
    EXPECT_EQ(beacon::currentTimeZoneIdentifier(system.probe()), "Australia/Perth");

    system.setenv("TZ", "");
    EXPECT_EQ(beacon::currentTimeZoneIdentifier(system.probe()), "Australia/Perth");
}

TEST(TimeZoneTest, ALinkOutsideZoneinfoFallsBackToTheTimezoneFile)
{
    SystemFixture system;
    system.link("etc/localtime", "/etc/localtime.local");
    system.write("etc/timezone", "not a zone\n");
    EXPECT_EQ(beacon::currentTimeZoneIdentifier(system.probe()), std::nullopt);
    system.write("etc/timezone", "Africa/Nairobi\n");
    EXPECT_EQ(beacon::currentTimeZoneIdentifier(system.probe()), "Africa/Nairobi");
}

TEST(OsReleaseTest, UndoesQuotesAndEscapes)
{
    const auto variables = beacon::parseOsRelease(R"osr(# a comment
NAME="Arch \"Linux\""
ID=arch
PRETTY_NAME='It'"'"'s single'
VERSION_ID=  
  BUILD_ID="rolling"   
lower=ignored
BROKEN="never closed
HOME_URL="https://archlinux.org/"
)osr");
    EXPECT_EQ(variables.at("NAME"), "Arch \"Linux\"");
    EXPECT_EQ(variables.at("ID"), "arch");
    EXPECT_EQ(variables.at("BUILD_ID"), "rolling");
    EXPECT_EQ(variables.at("VERSION_ID"), "");
    EXPECT_EQ(variables.at("HOME_URL"), "https://archlinux.org/");
    EXPECT_FALSE(variables.contains("lower"));
    EXPECT_FALSE(variables.contains("BROKEN"));
    EXPECT_TRUE(variables.contains("PRETTY_NAME"));
}

} // namespace
