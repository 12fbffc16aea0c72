#pragma once

/// `velto <command>`: drives the running Velto from a shell, a script or a status bar.
namespace Cli {

/// Whether these arguments are a command for the running Velto rather than a start of the app.
bool handles(int argc, char** argv);
/// Runs the command with a QCoreApplication of its own; the process's exit code:
/// 0 done, 1 Velto is not running, failed the call or an export failed, 2 the arguments make no sense.
int run(int argc, char** argv);

} // namespace Cli
