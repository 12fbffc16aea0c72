#pragma once

class UpdateCheckResult;

/// Tells the user the outcome of an update check in a small dialog; a newer version
/// comes with a button that opens its download page. Returns at once.
namespace UpdateDialog {
void show(const UpdateCheckResult& result);
}
