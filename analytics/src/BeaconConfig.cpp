#include "beacon/BeaconConfig.h"

#include <curl/curl.h>

#include "beacon/BeaconLog.h"

namespace beacon {
namespace {
/// True when `host` is an absolute URL with a scheme and a host name.
bool isUsableUrl(const std::string& host)
{
    CURLU* url = curl_url();
    if (!url)
        return false;
    const bool ok = curl_url_set(url, CURLUPART_URL, host.c_str(), 0) == CURLUE_OK;
    curl_url_cleanup(url);
    return ok;
}
} // namespace

BeaconConfig::BeaconConfig(std::string apiKey)
    : BeaconConfig(std::move(apiKey), defaultHost)
{ }

BeaconConfig::BeaconConfig(std::string apiKey, const std::string& host)
    : host(isUsableUrl(host) ? host : std::string(defaultHost))
    , apiKey(std::move(apiKey))
{ }

void BeaconConfig::setEvaluationEnvironments(std::optional<std::vector<std::string>> contexts)
{
    debugLog("[Beacon] evaluationEnvironments is deprecated. Use evaluationContexts instead.");
    evaluationContexts = std::move(contexts);
}

} // namespace beacon
