<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Velto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A focus timer for your desktop.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ActivityCard</name>
    <message>
        <source>Activity</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Less</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>Velto lives in the tray, and on GNOME a tray needs the AppIndicator extension.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>About Velto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Velto</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>AwayNote</name>
    <message>
        <source>Resume</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep the time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Discard the time away</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>Velto is not running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot follow Velto&apos;s changes on the session bus.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--format needs a value: text, json or waybar.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown option for status: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown format: %1 (text, json or waybar).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown option for start: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dashboard takes one section: insights, tags, integrations or settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 takes no arguments.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown option: %1 (see velto --help)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown command: %1 (see velto --help)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sessions today: %1, focus %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>running</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>paused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tag %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velto is idle; %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: paused, %2 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown option for export: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a value.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown format: %1 (csv or json).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not a date: %1 (write it as YYYY-MM-DD).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--from %1 is after --to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is Velto&apos;s history; choose another file for the export.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 already exists; add --force to replace it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read the history %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write to standard output: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>extend takes one number of minutes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>extend takes whole minutes from %1 to %2, not %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: velto [command]
Without a command, starts Velto.

Commands for the running Velto:
  start [--break]          start a focus interval, or a short break
  pause                    pause the running interval
  toggle                   pause, or start what the popover shows
  skip                     move on to the next interval
  extend [minutes]         add 1 to 60 minutes to the current interval (default 5)
  reset                    stop and return to idle
  dashboard [section]      open the dashboard (insights, tags, integrations, settings)
  status [--follow] [--format text|json|waybar]
                           print the timer; --follow prints a line for every change
                           and waits while Velto is not running

Commands that work whether Velto runs or not:
  export [--format csv|json] [--from DATE] [--to DATE] [--output FILE] [--force]
                           write the history&apos;s intervals; DATE is YYYY-MM-DD, a
                           local day, both ends included; an existing FILE is
                           only replaced with --force; without --output, to
                           standard output
  --help                   show this help
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColorPickerSheet</name>
    <message>
        <source>Customize Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Customize Break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ColorTip</name>
    <message>
        <source>Customize Colors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Long-press Focus or Break to pick a custom color theme.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Got it!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandsCard</name>
    <message>
        <source>Commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run your own command when the timer changes; it reads the event as JSON on standard input</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Command for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandsViewModel</name>
    <message>
        <source>Running…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus ended</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Break started</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Break ended</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resumed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval completed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit status %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ended by a signal</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Stopped after %n seconds</source>
        <translation>
            <numerusform>Stopped after %n second</numerusform>
            <numerusform>Stopped after %n seconds</numerusform>
        </translation>
    </message>
    <message>
        <source>Could not start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CycleCard</name>
    <message>
        <source>Cycle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When the long break comes, and how long it lasts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus intervals before a long break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Long break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Long break length in minutes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CycleSettingsViewModel</name>
    <message>
        <source>Three times the short break, until you choose another length</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your own length, kept when the short break changes</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DailyGoal</name>
    <message numerus="yes">
        <source>%1 of %n sessions</source>
        <comment>today&apos;s completed focus intervals of the daily goal</comment>
        <translation>
            <numerusform>%1 of %n session</numerusform>
            <numerusform>%1 of %n sessions</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DailyGoalNotice</name>
    <message>
        <source>Daily goal reached</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n focus sessions today. Well done!</source>
        <comment>the body of the daily goal notification</comment>
        <translation>
            <numerusform>%n focus session today. Well done!</numerusform>
            <numerusform>%n focus sessions today. Well done!</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DashboardNavigation</name>
    <message>
        <source>Insights</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Integrations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DashboardView</name>
    <message>
        <source>Velto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Murv Studios</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DashboardWindow</name>
    <message>
        <source>Velto</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogWindows</name>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DiscardNote</name>
    <message>
        <source>Undo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DisplayCheck</name>
    <message>
        <source>Velto cannot start: no X11 or Wayland display found. Start it in a desktop session, or set DISPLAY or WAYLAND_DISPLAY.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DurationText</name>
    <message>
        <source>%1m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1h %2m</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExportRow</name>
    <message>
        <source>Export…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the history as a CSV file</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ExportViewModel</name>
    <message>
        <source>Could not write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n intervals exported to %1</source>
        <translation>
            <numerusform>%n interval exported to %1</numerusform>
            <numerusform>%n intervals exported to %1</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 is Velto&apos;s history; choose another file for the export.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <source>Export History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FocusProtectionCard</name>
    <message>
        <source>Focus protection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep focus time quiet and honest</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do Not Disturb during focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause when the screen locks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause when I am away</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Away after</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes without input before focus pauses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Global shortcuts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the commands</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FocusProtectionViewModel</name>
    <message>
        <source>Start or pause, Skip, Extend 5 minutes and Open Velto can be bound in your desktop&apos;s keyboard settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This desktop offers no global shortcuts to apps: bind these commands to keys in its keyboard settings.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screen locked for %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Away for %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GnomeBannerHold</name>
    <message>
        <source>GNOME&apos;s notification settings are not installed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GNOME&apos;s settings store cannot be reached.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GNOME&apos;s notification banners are locked by the administrator.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GoalBar</name>
    <message>
        <source>Daily goal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 % done</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GoalCard</name>
    <message>
        <source>Daily goal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus intervals to complete each day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus intervals a day</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Heatmap</name>
    <message numerus="yes">
        <source>%n min focused on %1</source>
        <translation>
            <numerusform>%n min focused on %1</numerusform>
            <numerusform>%n min focused on %1</numerusform>
        </translation>
    </message>
    <message>
        <source>No focus time on %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InsightSentences</name>
    <message numerus="yes">
        <source>You&apos;re on a **%n-day** streak!</source>
        <translation>
            <numerusform>You&apos;re on a **%n-day** streak!</numerusform>
            <numerusform>You&apos;re on a **%n-day** streak!</numerusform>
        </translation>
    </message>
    <message>
        <source>Most productive day: **%1**</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Average daily focus: **%1**</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Complete your first focus session to see insights!</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>InsightsModel</name>
    <message numerus="yes">
        <source>Sessions</source>
        <comment>caption under a count</comment>
        <translation>
            <numerusform>Session</numerusform>
            <numerusform>Sessions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Breaks</source>
        <comment>caption under a count</comment>
        <translation>
            <numerusform>Break</numerusform>
            <numerusform>Breaks</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>day streak</source>
        <comment>after the number of days in a row</comment>
        <translation>
            <numerusform>day streak</numerusform>
            <numerusform>day streak</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InsightsPage</name>
    <message>
        <source>Insights</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Track your focus journey</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Today</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Daily Avg</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IntegrationsPage</name>
    <message>
        <source>Calmix</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lo-fi radio for focus &amp; mood</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync music with focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What it does</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Music starts when you start focusing, and pauses when you take a break. No switching apps, no distractions - just hit play on your focus session and the right soundtrack is already there.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Get Calmix free from Murv Tools</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Media players</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pauses the music you&apos;re playing for breaks, resumes it for focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sync media players with focus</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>IntegrationsViewModel</name>
    <message>
        <source>Connected - music syncs with your focus sessions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calmix is running - toggle on to sync music with focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calmix is not running - open it to enable this integration</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LinuxDoNotDisturb</name>
    <message>
        <source>No notification server is running.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The notification server does not answer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 offers no way to hold notifications back.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MiniTimerPopover</name>
    <message>
        <source>%1 — %2 left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 — paused at %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check for Updates...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto Updates</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quit Velto</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MiniTimerView</name>
    <message>
        <source>Session tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insights</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start the next interval automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Music sync</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MiniTimerViewModel</name>
    <message numerus="yes">
        <source>sessions</source>
        <comment>caption under today&apos;s count</comment>
        <translation>
            <numerusform>session</numerusform>
            <numerusform>sessions</numerusform>
        </translation>
    </message>
    <message>
        <source>Ready</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Relax</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Calmix to enable sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calmix sync on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calmix sync off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus discarded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Break discarded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>daily goal</source>
        <comment>caption under today&apos;s count of the goal</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+%1 min</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MinutesField</name>
    <message>
        <source>min</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NeoDialog</name>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotificationInhibitHold</name>
    <message>
        <source>Focusing</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlayButton</name>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopoverWindow</name>
    <message>
        <source>Velto</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PortalGlobalShortcuts</name>
    <message>
        <source>Start or pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extend 5 minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Velto</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PresetChips</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SaveFailureReporter</name>
    <message>
        <source>Velto cannot save your history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velto cannot save its settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. New records are kept while Velto runs and saved as soon as saving works again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. Your changes are kept while Velto runs and saved as soon as saving works again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velto could not save your history</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. The records since the last save are lost.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velto could not save its settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1. The changes since the last save are lost.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsPage</name>
    <message>
        <source>Timer Defaults</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure default focus and break durations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus length in minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Break length in minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start the next interval automatically</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Customize notification sounds and preferences</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play a sound when an interval ends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show a desktop notification</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What Velto tells its maker</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Share anonymous usage statistics</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open at login</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Velto in the tray when you log in</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SettingsViewModel</name>
    <message numerus="yes">
        <source>Long breaks: %n min</source>
        <translation>
            <numerusform>Long breaks: %n min</numerusform>
            <numerusform>Long breaks: %n min</numerusform>
        </translation>
    </message>
    <message>
        <source>Off because DO_NOT_TRACK is set in your environment.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A daily heartbeat and the dashboard sections you open; never your sessions or tags.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off: nothing is collected or sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not change the login entry: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An interval is under way: reset it to change the lengths.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatsCard</name>
    <message>
        <source>focused</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TagChip</name>
    <message>
        <source>Tag: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TagInsightsCard</name>
    <message>
        <source>Time by Tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Focus time distribution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No tagged sessions yet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag your focus sessions to see time distribution</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TagInsightsModel</name>
    <message numerus="yes">
        <source>%n session(s)</source>
        <translation>
            <numerusform>%n session</numerusform>
            <numerusform>%n sessions</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>tags</source>
        <comment>caption under the number of tags</comment>
        <translation>
            <numerusform>tag</numerusform>
            <numerusform>tags</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%nd</source>
        <comment>the last n days</comment>
        <translation>
            <numerusform>%nd</numerusform>
            <numerusform>%nd</numerusform>
        </translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1h %2m total</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1m total</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TagManagementCard</name>
    <message>
        <source>Manage Tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add Tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rename</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter a name for your new tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delete Tag?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TagManagementModel</name>
    <message numerus="yes">
        <source>%n tag(s)</source>
        <translation>
            <numerusform>%n tag</numerusform>
            <numerusform>%n tags</numerusform>
        </translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? This can&apos;t be undone.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TagPicker</name>
    <message>
        <source>Session Tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TagsPage</name>
    <message>
        <source>Insights</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manage</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimerManager</name>
    <message>
        <source>Session Complete!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Great work! Time for a break.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Break&apos;s over. Ready to focus?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+5 min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Skip</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TimerState</name>
    <message>
        <source>Focus</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Short Break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Long Break</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TrayNote</name>
    <message>
        <source>Press to dismiss</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateCheckResult</name>
    <message>
        <source>You&apos;re up to date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A new version of Velto is available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update check failed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velto %1 is the newest version available.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Velto %1 is available. You have %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update server did not answer in time.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update server did not provide the update information.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update information is not readable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The update server could not be reached.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>UpdateResultDialog</name>
    <message>
        <source>Software Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Later</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
