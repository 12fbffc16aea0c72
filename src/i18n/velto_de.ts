<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Velto</source>
        <translation>Über Velto</translation>
    </message>
    <message>
        <source>Velto</source>
        <translation>Velto</translation>
    </message>
    <message>
        <source>A focus timer for your desktop.</source>
        <translation>Ein Fokus-Timer für deinen Desktop.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ActivityCard</name>
    <message>
        <source>Activity</source>
        <translation>Aktivität</translation>
    </message>
    <message>
        <source>Less</source>
        <translation>Weniger</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
</context>
<context>
    <name>AppDelegate</name>
    <message>
        <source>Velto lives in the tray, and on GNOME a tray needs the AppIndicator extension.</source>
        <translation>Velto lebt im Tray, und unter GNOME braucht ein Tray die Erweiterung „AppIndicator“.</translation>
    </message>
</context>
<context>
    <name>AppMenu</name>
    <message>
        <source>About Velto</source>
        <translation>Über Velto</translation>
    </message>
    <message>
        <source>Quit Velto</source>
        <translation>Velto beenden</translation>
    </message>
</context>
<context>
    <name>AwayNote</name>
    <message>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>Keep the time</source>
        <translation>Zeit behalten</translation>
    </message>
    <message>
        <source>Discard the time away</source>
        <translation>Abwesenheit verwerfen</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>Velto is not running.</source>
        <translation>Velto läuft nicht.</translation>
    </message>
    <message>
        <source>Cannot follow Velto&apos;s changes on the session bus.</source>
        <translation>Die Änderungen von Velto lassen sich auf dem Sitzungsbus nicht verfolgen.</translation>
    </message>
    <message>
        <source>--format needs a value: text, json or waybar.</source>
        <translation>--format braucht einen Wert: text, json oder waybar.</translation>
    </message>
    <message>
        <source>Unknown option for status: %1</source>
        <translation>Unbekannte Option für status: %1</translation>
    </message>
    <message>
        <source>Unknown format: %1 (text, json or waybar).</source>
        <translation>Unbekanntes Format: %1 (text, json oder waybar).</translation>
    </message>
    <message>
        <source>Unknown option for start: %1</source>
        <translation>Unbekannte Option für start: %1</translation>
    </message>
    <message>
        <source>dashboard takes one section: insights, tags, integrations or settings.</source>
        <translation>dashboard erwartet einen Bereich: insights, tags, integrations oder settings.</translation>
    </message>
    <message>
        <source>%1 takes no arguments.</source>
        <translation>%1 erwartet keine Argumente.</translation>
    </message>
    <message>
        <source>Unknown option: %1 (see velto --help)</source>
        <translation>Unbekannte Option: %1 (siehe velto --help)</translation>
    </message>
    <message>
        <source>Unknown command: %1 (see velto --help)</source>
        <translation>Unbekannter Befehl: %1 (siehe velto --help)</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>sessions today: %1, focus %2</source>
        <translation>Einheiten heute: %1, Fokus %2</translation>
    </message>
    <message>
        <source>running</source>
        <translation>läuft</translation>
    </message>
    <message>
        <source>paused</source>
        <translation>pausiert</translation>
    </message>
    <message>
        <source>tag %1</source>
        <translation>Label %1</translation>
    </message>
    <message>
        <source>Velto is idle; %1</source>
        <translation>Velto ist inaktiv; %1</translation>
    </message>
    <message>
        <source>%1: %2 left</source>
        <translation>%1: noch %2</translation>
    </message>
    <message>
        <source>%1: paused, %2 left</source>
        <translation>%1: pausiert, noch %2</translation>
    </message>
    <message>
        <source>Unknown option for export: %1</source>
        <translation>Unbekannte Option für export: %1</translation>
    </message>
    <message>
        <source>%1 needs a value.</source>
        <translation>%1 braucht einen Wert.</translation>
    </message>
    <message>
        <source>Unknown format: %1 (csv or json).</source>
        <translation>Unbekanntes Format: %1 (csv oder json).</translation>
    </message>
    <message>
        <source>Not a date: %1 (write it as YYYY-MM-DD).</source>
        <translation>Kein Datum: %1 (schreib es als JJJJ-MM-TT).</translation>
    </message>
    <message>
        <source>--from %1 is after --to %2.</source>
        <translation>--from %1 liegt nach --to %2.</translation>
    </message>
    <message>
        <source>%1 is Velto&apos;s history; choose another file for the export.</source>
        <translation>%1 ist der Verlauf von Velto; wähl eine andere Datei für den Export.</translation>
    </message>
    <message>
        <source>%1 already exists; add --force to replace it.</source>
        <translation>%1 gibt es schon; mit --force wird sie ersetzt.</translation>
    </message>
    <message>
        <source>Cannot read the history %1: %2</source>
        <translation>Der Verlauf %1 lässt sich nicht lesen: %2</translation>
    </message>
    <message>
        <source>Cannot write to standard output: %1</source>
        <translation>Auf die Standardausgabe lässt sich nicht schreiben: %1</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 lässt sich nicht schreiben: %2</translation>
    </message>
    <message>
        <source>extend takes one number of minutes.</source>
        <translation>extend nimmt eine Anzahl Minuten.</translation>
    </message>
    <message>
        <source>extend takes whole minutes from %1 to %2, not %3.</source>
        <translation>extend nimmt ganze Minuten von %1 bis %2, nicht %3.</translation>
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
        <translation>Aufruf: velto [Befehl]
Ohne Befehl startet Velto.

Befehle an das laufende Velto:
  start [--break]          ein Fokusintervall starten, oder eine kurze Pause
  pause                    das laufende Intervall pausieren
  toggle                   pausieren, oder starten, was das Popover zeigt
  skip                     zum nächsten Intervall springen
  extend [minutes]         dem laufenden Intervall 1 bis 60 Minuten hinzufügen (sonst 5)
  reset                    anhalten und zurücksetzen
  dashboard [section]      das Dashboard öffnen (insights, tags, integrations, settings)
  status [--follow] [--format text|json|waybar]
                           den Timer ausgeben; --follow gibt bei jeder Änderung eine Zeile aus
                           und wartet, solange Velto nicht läuft

Befehle, die auch ohne laufendes Velto gehen:
  export [--format csv|json] [--from DATE] [--to DATE] [--output FILE] [--force]
                           die Intervalle des Verlaufs schreiben; DATE ist JJJJ-MM-TT,
                           ein lokaler Tag, beide Enden eingeschlossen; eine vorhandene
                           FILE wird nur mit --force ersetzt; ohne --output auf die
                           Standardausgabe
  --help                   diese Hilfe zeigen
</translation>
    </message>
</context>
<context>
    <name>ColorPickerSheet</name>
    <message>
        <source>Customize Focus</source>
        <translation>Fokus anpassen</translation>
    </message>
    <message>
        <source>Customize Break</source>
        <translation>Pause anpassen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Übernehmen</translation>
    </message>
</context>
<context>
    <name>ColorTip</name>
    <message>
        <source>Customize Colors</source>
        <translation>Farben anpassen</translation>
    </message>
    <message>
        <source>Long-press Focus or Break to pick a custom color theme.</source>
        <translation>Halte „Fokus“ oder „Pause“ gedrückt, um eigene Farben zu wählen.</translation>
    </message>
    <message>
        <source>Got it!</source>
        <translation>Verstanden!</translation>
    </message>
</context>
<context>
    <name>CommandsCard</name>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>Run your own command when the timer changes; it reads the event as JSON on standard input</source>
        <translation>Führ eigene Befehle aus, wenn sich der Timer ändert; sie lesen das Ereignis als JSON von der Standardeingabe</translation>
    </message>
    <message>
        <source>Command line</source>
        <translation>Befehlszeile</translation>
    </message>
    <message>
        <source>Command for %1</source>
        <translation>Befehl für %1</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Testen</translation>
    </message>
</context>
<context>
    <name>CommandsViewModel</name>
    <message>
        <source>Running…</source>
        <translation>Läuft …</translation>
    </message>
    <message>
        <source>Focus started</source>
        <translation>Fokus gestartet</translation>
    </message>
    <message>
        <source>Focus ended</source>
        <translation>Fokus beendet</translation>
    </message>
    <message>
        <source>Break started</source>
        <translation>Pause gestartet</translation>
    </message>
    <message>
        <source>Break ended</source>
        <translation>Pause beendet</translation>
    </message>
    <message>
        <source>Paused</source>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>Resumed</source>
        <translation>Fortgesetzt</translation>
    </message>
    <message>
        <source>Interval completed</source>
        <translation>Intervall geschafft</translation>
    </message>
    <message>
        <source>Exit status %1</source>
        <translation>Exit-Status %1</translation>
    </message>
    <message>
        <source>Ended by a signal</source>
        <translation>Von einem Signal beendet</translation>
    </message>
    <message numerus="yes">
        <source>Stopped after %n seconds</source>
        <translation>
            <numerusform>Nach %n Sekunde angehalten</numerusform>
            <numerusform>Nach %n Sekunden angehalten</numerusform>
        </translation>
    </message>
    <message>
        <source>Could not start</source>
        <translation>Ließ sich nicht starten</translation>
    </message>
</context>
<context>
    <name>CycleCard</name>
    <message>
        <source>Cycle</source>
        <translation>Zyklus</translation>
    </message>
    <message>
        <source>When the long break comes, and how long it lasts</source>
        <translation>Wann die lange Pause kommt und wie lange sie dauert</translation>
    </message>
    <message>
        <source>Focus intervals before a long break</source>
        <translation>Fokusintervalle vor einer langen Pause</translation>
    </message>
    <message>
        <source>Long break</source>
        <translation>Lange Pause</translation>
    </message>
    <message>
        <source>Long break length in minutes</source>
        <translation>Länge der langen Pause in Minuten</translation>
    </message>
</context>
<context>
    <name>CycleSettingsViewModel</name>
    <message>
        <source>Three times the short break, until you choose another length</source>
        <translation>Dreimal die kurze Pause, bis du eine andere Länge wählst</translation>
    </message>
    <message>
        <source>Your own length, kept when the short break changes</source>
        <translation>Deine eigene Länge, bleibt, wenn sich die kurze Pause ändert</translation>
    </message>
</context>
<context>
    <name>DailyGoal</name>
    <message numerus="yes">
        <source>%1 of %n sessions</source>
        <comment>today&apos;s completed focus intervals of the daily goal</comment>
        <translation>
            <numerusform>%1 von %n Einheit</numerusform>
            <numerusform>%1 von %n Einheiten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DailyGoalNotice</name>
    <message>
        <source>Daily goal reached</source>
        <translation>Tagesziel erreicht</translation>
    </message>
    <message numerus="yes">
        <source>%n focus sessions today. Well done!</source>
        <comment>the body of the daily goal notification</comment>
        <translation>
            <numerusform>Heute %n Fokuseinheit. Gut gemacht!</numerusform>
            <numerusform>Heute %n Fokuseinheiten. Gut gemacht!</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>DashboardNavigation</name>
    <message>
        <source>Insights</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Tags</source>
        <translation>Labels</translation>
    </message>
    <message>
        <source>Integrations</source>
        <translation>Integrationen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
</context>
<context>
    <name>DashboardView</name>
    <message>
        <source>Velto</source>
        <translation>Velto</translation>
    </message>
    <message>
        <source>Murv Studios</source>
        <translation>Murv Studios</translation>
    </message>
    <message>
        <source>More</source>
        <translation>Mehr</translation>
    </message>
</context>
<context>
    <name>DashboardWindow</name>
    <message>
        <source>Velto</source>
        <translation>Velto</translation>
    </message>
</context>
<context>
    <name>DialogWindows</name>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>DiscardNote</name>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
</context>
<context>
    <name>DisplayCheck</name>
    <message>
        <source>Velto cannot start: no X11 or Wayland display found. Start it in a desktop session, or set DISPLAY or WAYLAND_DISPLAY.</source>
        <translation>Velto kann nicht starten: keine X11- oder Wayland-Anzeige gefunden. Starte es in einer Desktop-Sitzung, oder setze DISPLAY oder WAYLAND_DISPLAY.</translation>
    </message>
</context>
<context>
    <name>DurationText</name>
    <message>
        <source>%1m</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1h</source>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1h %2m</source>
        <translation>%1 h %2 min</translation>
    </message>
</context>
<context>
    <name>ExportRow</name>
    <message>
        <source>Export…</source>
        <translation>Exportieren …</translation>
    </message>
    <message>
        <source>Save the history as a CSV file</source>
        <translation>Den Verlauf als CSV-Datei speichern</translation>
    </message>
</context>
<context>
    <name>ExportViewModel</name>
    <message>
        <source>Could not write %1: %2</source>
        <translation>%1 ließ sich nicht schreiben: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n intervals exported to %1</source>
        <translation>
            <numerusform>%n Intervall nach %1 exportiert</numerusform>
            <numerusform>%n Intervalle nach %1 exportiert</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 is Velto&apos;s history; choose another file for the export.</source>
        <translation>%1 ist der Verlauf von Velto; wähl eine andere Datei für den Export.</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <source>Export History</source>
        <translation>Verlauf exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
</context>
<context>
    <name>FocusProtectionCard</name>
    <message>
        <source>Focus protection</source>
        <translation>Fokusschutz</translation>
    </message>
    <message>
        <source>Keep focus time quiet and honest</source>
        <translation>Fokuszeit ruhig und ehrlich halten</translation>
    </message>
    <message>
        <source>Do Not Disturb during focus</source>
        <translation>Bitte nicht stören während des Fokus</translation>
    </message>
    <message>
        <source>Pause when the screen locks</source>
        <translation>Pausieren, wenn der Bildschirm gesperrt wird</translation>
    </message>
    <message>
        <source>Pause when I am away</source>
        <translation>Pausieren, wenn ich weg bin</translation>
    </message>
    <message>
        <source>Away after</source>
        <translation>Weg nach</translation>
    </message>
    <message>
        <source>Minutes without input before focus pauses</source>
        <translation>Minuten ohne Eingabe, bis der Fokus pausiert</translation>
    </message>
    <message>
        <source>Global shortcuts</source>
        <translation>Globale Tastenkürzel</translation>
    </message>
    <message>
        <source>Copy the commands</source>
        <translation>Befehle kopieren</translation>
    </message>
</context>
<context>
    <name>FocusProtectionViewModel</name>
    <message>
        <source>Start or pause, Skip, Extend 5 minutes and Open Velto can be bound in your desktop&apos;s keyboard settings.</source>
        <translation>Starten oder pausieren, Überspringen, 5 Minuten verlängern und Velto öffnen lassen sich in den Tastatureinstellungen des Desktops belegen.</translation>
    </message>
    <message>
        <source>This desktop offers no global shortcuts to apps: bind these commands to keys in its keyboard settings.</source>
        <translation>Dieser Desktop bietet Apps keine globalen Tastenkürzel: Belege diese Befehle in seinen Tastatureinstellungen mit Tasten.</translation>
    </message>
    <message>
        <source>Screen locked for %1</source>
        <translation>Bildschirm %1 gesperrt</translation>
    </message>
    <message>
        <source>Away for %1</source>
        <translation>%1 weg</translation>
    </message>
</context>
<context>
    <name>GnomeBannerHold</name>
    <message>
        <source>GNOME&apos;s notification settings are not installed.</source>
        <translation>Die Benachrichtigungseinstellungen von GNOME sind nicht installiert.</translation>
    </message>
    <message>
        <source>GNOME&apos;s settings store cannot be reached.</source>
        <translation>Der Einstellungsspeicher von GNOME ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>GNOME&apos;s notification banners are locked by the administrator.</source>
        <translation>Die Benachrichtigungsbanner von GNOME sind vom Administrator gesperrt.</translation>
    </message>
</context>
<context>
    <name>GoalBar</name>
    <message>
        <source>Daily goal</source>
        <translation>Tagesziel</translation>
    </message>
    <message>
        <source>%1 % done</source>
        <translation>%1 % erreicht</translation>
    </message>
</context>
<context>
    <name>GoalCard</name>
    <message>
        <source>Daily goal</source>
        <translation>Tagesziel</translation>
    </message>
    <message>
        <source>Focus intervals to complete each day</source>
        <translation>Fokusintervalle, die du jeden Tag schaffen willst</translation>
    </message>
    <message>
        <source>Focus intervals a day</source>
        <translation>Fokusintervalle pro Tag</translation>
    </message>
</context>
<context>
    <name>Heatmap</name>
    <message>
        <source>No focus time on %1</source>
        <translation>Keine Fokuszeit am %1</translation>
    </message>
    <message numerus="yes">
        <source>%n min focused on %1</source>
        <translation>
            <numerusform>%n Min. Fokus am %1</numerusform>
            <numerusform>%n Min. Fokus am %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InsightSentences</name>
    <message>
        <source>Most productive day: **%1**</source>
        <translation>Produktivster Tag: **%1**</translation>
    </message>
    <message numerus="yes">
        <source>You&apos;re on a **%n-day** streak!</source>
        <translation>
            <numerusform>**%n Tag** in Folge – weiter so!</numerusform>
            <numerusform>**%n Tage** in Folge – weiter so!</numerusform>
        </translation>
    </message>
    <message>
        <source>Average daily focus: **%1**</source>
        <translation>Fokus pro Tag im Schnitt: **%1**</translation>
    </message>
    <message>
        <source>Complete your first focus session to see insights!</source>
        <translation>Schließe deine erste Fokuseinheit ab, um deine Statistik zu sehen!</translation>
    </message>
</context>
<context>
    <name>InsightsModel</name>
    <message numerus="yes">
        <source>Sessions</source>
        <comment>caption under a count</comment>
        <translation>
            <numerusform>Einheit</numerusform>
            <numerusform>Einheiten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Breaks</source>
        <comment>caption under a count</comment>
        <translation>
            <numerusform>Pause</numerusform>
            <numerusform>Pausen</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>day streak</source>
        <comment>after the number of days in a row</comment>
        <translation>
            <numerusform>Tag in Folge</numerusform>
            <numerusform>Tage in Folge</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>InsightsPage</name>
    <message>
        <source>Insights</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Track your focus journey</source>
        <translation>So entwickelt sich dein Fokus</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>Heute</translation>
    </message>
    <message>
        <source>Focus Time</source>
        <translation>Fokuszeit</translation>
    </message>
    <message>
        <source>This Week</source>
        <translation>Diese Woche</translation>
    </message>
    <message>
        <source>Daily Avg</source>
        <translation>Ø pro Tag</translation>
    </message>
</context>
<context>
    <name>IntegrationsPage</name>
    <message>
        <source>Calmix</source>
        <translation>Calmix</translation>
    </message>
    <message>
        <source>Lo-fi radio for focus &amp; mood</source>
        <translation>Lo-Fi-Radio für Fokus &amp; Stimmung</translation>
    </message>
    <message>
        <source>Sync music with focus</source>
        <translation>Musik mit dem Fokus synchronisieren</translation>
    </message>
    <message>
        <source>What it does</source>
        <translation>Was es macht</translation>
    </message>
    <message>
        <source>Music starts when you start focusing, and pauses when you take a break. No switching apps, no distractions - just hit play on your focus session and the right soundtrack is already there.</source>
        <translation>Die Musik startet, sobald du dich konzentrierst, und pausiert, wenn du eine Pause machst. Kein App-Wechsel, keine Ablenkung – starte einfach deine Fokuseinheit, und der passende Soundtrack läuft schon.</translation>
    </message>
    <message>
        <source>Get Calmix free from Murv Tools</source>
        <translation>Calmix kostenlos bei Murv Tools holen</translation>
    </message>
    <message>
        <source>Media players</source>
        <translation>Mediaplayer</translation>
    </message>
    <message>
        <source>Pauses the music you&apos;re playing for breaks, resumes it for focus</source>
        <translation>Pausiert deine Musik in den Pausen und setzt sie beim Fokus fort</translation>
    </message>
    <message>
        <source>Sync media players with focus</source>
        <translation>Mediaplayer mit dem Fokus synchronisieren</translation>
    </message>
</context>
<context>
    <name>IntegrationsViewModel</name>
    <message>
        <source>Connected - music syncs with your focus sessions</source>
        <translation>Verbunden – die Musik folgt deinen Fokuseinheiten</translation>
    </message>
    <message>
        <source>Calmix is running - toggle on to sync music with focus</source>
        <translation>Calmix läuft – schalte die Synchronisierung ein, damit die Musik deinem Fokus folgt</translation>
    </message>
    <message>
        <source>Calmix is not running - open it to enable this integration</source>
        <translation>Calmix läuft nicht – öffne es, um diese Integration zu nutzen</translation>
    </message>
</context>
<context>
    <name>LinuxDoNotDisturb</name>
    <message>
        <source>No notification server is running.</source>
        <translation>Es läuft kein Benachrichtigungsdienst.</translation>
    </message>
    <message>
        <source>The notification server does not answer.</source>
        <translation>Der Benachrichtigungsdienst antwortet nicht.</translation>
    </message>
    <message>
        <source>%1 offers no way to hold notifications back.</source>
        <translation>%1 bietet keine Möglichkeit, Benachrichtigungen zurückzuhalten.</translation>
    </message>
</context>
<context>
    <name>MiniTimerPopover</name>
    <message>
        <source>%1 — %2 left</source>
        <translation>%1 – noch %2</translation>
    </message>
    <message>
        <source>%1 — paused at %2</source>
        <translation>%1 – pausiert bei %2</translation>
    </message>
    <message>
        <source>Check for Updates...</source>
        <translation>Nach Updates suchen …</translation>
    </message>
    <message>
        <source>Auto Updates</source>
        <translation>Automatische Updates</translation>
    </message>
    <message>
        <source>Quit Velto</source>
        <translation>Velto beenden</translation>
    </message>
</context>
<context>
    <name>MiniTimerView</name>
    <message>
        <source>Session tag</source>
        <translation>Label der Einheit</translation>
    </message>
    <message>
        <source>Insights</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>Start the next interval automatically</source>
        <translation>Nächstes Intervall automatisch starten</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Music sync</source>
        <translation>Musik-Sync</translation>
    </message>
</context>
<context>
    <name>MiniTimerViewModel</name>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Relax</source>
        <translation>Entspann dich</translation>
    </message>
    <message>
        <source>Open Calmix to enable sync</source>
        <translation>Öffne Calmix, um die Synchronisierung zu nutzen</translation>
    </message>
    <message>
        <source>Calmix sync on</source>
        <translation>Calmix-Synchronisierung an</translation>
    </message>
    <message>
        <source>Calmix sync off</source>
        <translation>Calmix-Synchronisierung aus</translation>
    </message>
    <message numerus="yes">
        <source>sessions</source>
        <comment>caption under today&apos;s count</comment>
        <translation>
            <numerusform>Einheit</numerusform>
            <numerusform>Einheiten</numerusform>
        </translation>
    </message>
    <message>
        <source>Break</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Focus discarded</source>
        <translation>Fokus verworfen</translation>
    </message>
    <message>
        <source>Break discarded</source>
        <translation>Pause verworfen</translation>
    </message>
    <message>
        <source>daily goal</source>
        <comment>caption under today&apos;s count of the goal</comment>
        <translation>Tagesziel</translation>
    </message>
    <message>
        <source>+%1</source>
        <translation>+%1</translation>
    </message>
    <message>
        <source>+%1 min</source>
        <translation>+%1 Min.</translation>
    </message>
</context>
<context>
    <name>MinutesField</name>
    <message>
        <source>min</source>
        <translation>Min.</translation>
    </message>
</context>
<context>
    <name>NeoDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>NotificationInhibitHold</name>
    <message>
        <source>Focusing</source>
        <translation>Fokussiert</translation>
    </message>
</context>
<context>
    <name>PlayButton</name>
    <message>
        <source>Pause</source>
        <translation>Pausieren</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Starten</translation>
    </message>
</context>
<context>
    <name>PopoverWindow</name>
    <message>
        <source>Velto</source>
        <translation>Velto</translation>
    </message>
</context>
<context>
    <name>PortalGlobalShortcuts</name>
    <message>
        <source>Start or pause</source>
        <translation>Starten oder pausieren</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
    <message>
        <source>Extend 5 minutes</source>
        <translation>Um 5 Minuten verlängern</translation>
    </message>
    <message>
        <source>Open Velto</source>
        <translation>Velto öffnen</translation>
    </message>
</context>
<context>
    <name>PresetChips</name>
    <message numerus="yes">
        <source>%n minute(s)</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SaveFailureReporter</name>
    <message>
        <source>Velto cannot save your history</source>
        <translation>Velto kann deinen Verlauf nicht speichern</translation>
    </message>
    <message>
        <source>Velto cannot save its settings</source>
        <translation>Velto kann seine Einstellungen nicht speichern</translation>
    </message>
    <message>
        <source>%1. New records are kept while Velto runs and saved as soon as saving works again.</source>
        <translation>%1. Neue Einträge bleiben erhalten, solange Velto läuft, und werden gespeichert, sobald das Speichern wieder klappt.</translation>
    </message>
    <message>
        <source>%1. Your changes are kept while Velto runs and saved as soon as saving works again.</source>
        <translation>%1. Deine Änderungen bleiben erhalten, solange Velto läuft, und werden gespeichert, sobald das Speichern wieder klappt.</translation>
    </message>
    <message>
        <source>Velto could not save your history</source>
        <translation>Velto konnte deinen Verlauf nicht speichern</translation>
    </message>
    <message>
        <source>%1. The records since the last save are lost.</source>
        <translation>%1. Die Einträge seit dem letzten Speichern sind verloren.</translation>
    </message>
    <message>
        <source>Velto could not save its settings</source>
        <translation>Velto konnte seine Einstellungen nicht speichern</translation>
    </message>
    <message>
        <source>%1. The changes since the last save are lost.</source>
        <translation>%1. Die Änderungen seit dem letzten Speichern sind verloren.</translation>
    </message>
</context>
<context>
    <name>SettingsPage</name>
    <message>
        <source>Timer Defaults</source>
        <translation>Standarddauer</translation>
    </message>
    <message>
        <source>Configure default focus and break durations</source>
        <translation>Lege fest, wie lange Fokus und Pausen dauern</translation>
    </message>
    <message>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>Focus length in minutes</source>
        <translation>Fokusdauer in Minuten</translation>
    </message>
    <message>
        <source>Break</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Break length in minutes</source>
        <translation>Pausendauer in Minuten</translation>
    </message>
    <message>
        <source>Start the next interval automatically</source>
        <translation>Nächstes Intervall automatisch starten</translation>
    </message>
    <message>
        <source>Notifications</source>
        <translation>Benachrichtigungen</translation>
    </message>
    <message>
        <source>Customize notification sounds and preferences</source>
        <translation>Töne und Benachrichtigungen anpassen</translation>
    </message>
    <message>
        <source>Play a sound when an interval ends</source>
        <translation>Ton abspielen, wenn ein Intervall endet</translation>
    </message>
    <message>
        <source>Show a desktop notification</source>
        <translation>Desktop-Benachrichtigung anzeigen</translation>
    </message>
    <message>
        <source>Privacy</source>
        <translation>Datenschutz</translation>
    </message>
    <message>
        <source>What Velto tells its maker</source>
        <translation>Was Velto seinen Entwicklern mitteilt</translation>
    </message>
    <message>
        <source>Share anonymous usage statistics</source>
        <translation>Anonyme Nutzungsstatistik teilen</translation>
    </message>
    <message>
        <source>Open at login</source>
        <translation>Bei der Anmeldung öffnen</translation>
    </message>
    <message>
        <source>Start Velto in the tray when you log in</source>
        <translation>Velto beim Anmelden im Infobereich starten</translation>
    </message>
</context>
<context>
    <name>SettingsViewModel</name>
    <message numerus="yes">
        <source>Long breaks: %n min</source>
        <translation>
            <numerusform>Lange Pausen: %n Min.</numerusform>
            <numerusform>Lange Pausen: %n Min.</numerusform>
        </translation>
    </message>
    <message>
        <source>Off because DO_NOT_TRACK is set in your environment.</source>
        <translation>Aus, weil DO_NOT_TRACK in deiner Umgebung gesetzt ist.</translation>
    </message>
    <message>
        <source>A daily heartbeat and the dashboard sections you open; never your sessions or tags.</source>
        <translation>Ein tägliches Lebenszeichen und die Bereiche des Dashboards, die du öffnest – nie deine Einheiten oder Labels.</translation>
    </message>
    <message>
        <source>Off: nothing is collected or sent.</source>
        <translation>Aus: Es wird nichts erfasst oder gesendet.</translation>
    </message>
    <message>
        <source>Could not change the login entry: %1</source>
        <translation>Der Anmeldeeintrag ließ sich nicht ändern: %1</translation>
    </message>
    <message>
        <source>An interval is under way: reset it to change the lengths.</source>
        <translation>Ein Intervall läuft: setz es zurück, um die Längen zu ändern.</translation>
    </message>
</context>
<context>
    <name>StatsCard</name>
    <message>
        <source>focused</source>
        <translation>fokussiert</translation>
    </message>
</context>
<context>
    <name>TagChip</name>
    <message>
        <source>Tag: %1</source>
        <translation>Tag: %1</translation>
    </message>
</context>
<context>
    <name>TagInsightsCard</name>
    <message>
        <source>Time by Tag</source>
        <translation>Zeit nach Label</translation>
    </message>
    <message>
        <source>Focus time distribution</source>
        <translation>Verteilung der Fokuszeit</translation>
    </message>
    <message>
        <source>No tagged sessions yet</source>
        <translation>Noch keine Einheiten mit Label</translation>
    </message>
    <message>
        <source>Tag your focus sessions to see time distribution</source>
        <translation>Gib deinen Fokuseinheiten ein Label, um die Verteilung zu sehen</translation>
    </message>
</context>
<context>
    <name>TagInsightsModel</name>
    <message numerus="yes">
        <source>%n session(s)</source>
        <translation>
            <numerusform>%n Einheit</numerusform>
            <numerusform>%n Einheiten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>tags</source>
        <comment>caption under the number of tags</comment>
        <translation>
            <numerusform>Label</numerusform>
            <numerusform>Labels</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%nd</source>
        <comment>the last n days</comment>
        <translation>
            <numerusform>%n T</numerusform>
            <numerusform>%n T</numerusform>
        </translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>%1h %2m total</source>
        <translation>%1 h %2 min gesamt</translation>
    </message>
    <message>
        <source>%1m total</source>
        <translation>%1 min gesamt</translation>
    </message>
</context>
<context>
    <name>TagManagementCard</name>
    <message>
        <source>Manage Tags</source>
        <translation>Labels verwalten</translation>
    </message>
    <message>
        <source>Add Tag</source>
        <translation>Label hinzufügen</translation>
    </message>
    <message>
        <source>Tag name</source>
        <translation>Name des Labels</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Rename</source>
        <translation>Umbenennen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Enter a name for your new tag</source>
        <translation>Gib einen Namen für dein neues Label ein</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Delete Tag?</source>
        <translation>Label löschen?</translation>
    </message>
</context>
<context>
    <name>TagManagementModel</name>
    <message numerus="yes">
        <source>%n tag(s)</source>
        <translation>
            <numerusform>%n Label</numerusform>
            <numerusform>%n Labels</numerusform>
        </translation>
    </message>
    <message>
        <source>Delete &quot;%1&quot;? This can&apos;t be undone.</source>
        <translation>„%1“ löschen? Das lässt sich nicht rückgängig machen.</translation>
    </message>
</context>
<context>
    <name>TagPicker</name>
    <message>
        <source>Session Tag</source>
        <translation>Label der Einheit</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Entfernen</translation>
    </message>
</context>
<context>
    <name>TagsPage</name>
    <message>
        <source>Insights</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Manage</source>
        <translation>Verwalten</translation>
    </message>
</context>
<context>
    <name>TimerManager</name>
    <message>
        <source>Session Complete!</source>
        <translation>Einheit geschafft!</translation>
    </message>
    <message>
        <source>Great work! Time for a break.</source>
        <translation>Gut gemacht! Zeit für eine Pause.</translation>
    </message>
    <message>
        <source>Break&apos;s over. Ready to focus?</source>
        <translation>Die Pause ist vorbei. Bereit für den Fokus?</translation>
    </message>
    <message>
        <source>Start break</source>
        <translation>Pause starten</translation>
    </message>
    <message>
        <source>+5 min</source>
        <translation>+5 Min.</translation>
    </message>
    <message>
        <source>Start focus</source>
        <translation>Fokus starten</translation>
    </message>
    <message>
        <source>Skip</source>
        <translation>Überspringen</translation>
    </message>
</context>
<context>
    <name>TimerState</name>
    <message>
        <source>Focus</source>
        <translation>Fokus</translation>
    </message>
    <message>
        <source>Short Break</source>
        <translation>Kurze Pause</translation>
    </message>
    <message>
        <source>Long Break</source>
        <translation>Lange Pause</translation>
    </message>
    <message>
        <source>Idle</source>
        <translation>Inaktiv</translation>
    </message>
</context>
<context>
    <name>TrayNote</name>
    <message>
        <source>Press to dismiss</source>
        <translation>Drücken zum Schließen</translation>
    </message>
</context>
<context>
    <name>UpdateCheckResult</name>
    <message>
        <source>You&apos;re up to date</source>
        <translation>Du bist auf dem neuesten Stand</translation>
    </message>
    <message>
        <source>A new version of Velto is available</source>
        <translation>Eine neue Version von Velto ist da</translation>
    </message>
    <message>
        <source>Update check failed</source>
        <translation>Die Suche nach Updates ist fehlgeschlagen</translation>
    </message>
    <message>
        <source>Velto %1 is the newest version available.</source>
        <translation>Velto %1 ist die neueste verfügbare Version.</translation>
    </message>
    <message>
        <source>Velto %1 is available. You have %2.</source>
        <translation>Velto %1 ist verfügbar. Du hast %2.</translation>
    </message>
    <message>
        <source>The update server did not answer in time.</source>
        <translation>Der Update-Server hat nicht rechtzeitig geantwortet.</translation>
    </message>
    <message>
        <source>The update server did not provide the update information.</source>
        <translation>Der Update-Server hat keine Update-Informationen geliefert.</translation>
    </message>
    <message>
        <source>The update information is not readable.</source>
        <translation>Die Update-Informationen sind nicht lesbar.</translation>
    </message>
    <message>
        <source>The update server could not be reached.</source>
        <translation>Der Update-Server ist nicht erreichbar.</translation>
    </message>
</context>
<context>
    <name>UpdateResultDialog</name>
    <message>
        <source>Software Update</source>
        <translation>Softwareaktualisierung</translation>
    </message>
    <message>
        <source>Later</source>
        <translation>Später</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
</TS>
