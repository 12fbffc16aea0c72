#include "SaveBeforeQuit.h"

#include "SaveFailureReporter.h"
#include "data/SessionStore.h"
#include "platform/JsonFilePreferences.h"

bool saveBeforeQuit(SessionStore* history, JsonFilePreferences& preferences, SaveFailureReporter& reporter)
{
    bool everythingSaved = true;
    if (history && !history->flush()) {
        reporter.reportLost(SaveFailureReporter::What::history, history->saveError());
        everythingSaved = false;
    }
    if (!preferences.flush()) {
        reporter.reportLost(SaveFailureReporter::What::settings, preferences.saveError());
        everythingSaved = false;
    }
    return everythingSaved;
}
