#pragma once

class JsonFilePreferences;
class SaveFailureReporter;
class SessionStore;

/// The last try at saving what is still in memory only, as Velto quits (`history` is null when it
/// was never read). Whatever still cannot be saved is lost, and `reporter` says so. True when
/// everything is on disk.
bool saveBeforeQuit(SessionStore* history, JsonFilePreferences& preferences, SaveFailureReporter& reporter);
