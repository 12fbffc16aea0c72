#!/usr/bin/python3
"""Stand-ins for desktop services on a private session bus, for Velto's tests.

Written with GDBus (Gio), not Qt, and with the introspection data of the real services,
so that a type Velto gets wrong on the wire fails here as it would on a desktop.

  desktop_standin.py [--notifications NAME] [--inhibit] [--actions] [--screensaver]
                     [--gnome-screensaver] [--logind] [--mutter-idle] [--portal VERSION]

The test drives it through studio.murv.VeltoTest at / (see CONTROL below); the control
name is taken last, so once it is on the bus every other service is ready.
"""
import argparse
import sys

import gi

gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

NOTIFICATIONS = """<node><interface name="org.freedesktop.Notifications">
<method name="GetServerInformation"><arg type="s" direction="out"/><arg type="s" direction="out"/>
  <arg type="s" direction="out"/><arg type="s" direction="out"/></method>
<method name="GetCapabilities"><arg type="as" direction="out"/></method>
<method name="Notify"><arg type="s"/><arg type="u"/><arg type="s"/><arg type="s"/><arg type="s"/>
  <arg type="as"/><arg type="a{sv}"/><arg type="i"/><arg type="u" direction="out"/></method>
<method name="CloseNotification"><arg type="u"/></method>
%s
<signal name="ActionInvoked"><arg type="u"/><arg type="s"/></signal>
<signal name="NotificationClosed"><arg type="u"/><arg type="u"/></signal>
</interface></node>"""
INHIBIT = """<method name="Inhibit"><arg type="s"/><arg type="s"/><arg type="a{sv}"/>
  <arg type="u" direction="out"/></method>
<method name="UnInhibit"><arg type="u"/></method>"""

SCREENSAVER = """<node><interface name="%s">
<method name="GetActive"><arg type="b" direction="out"/></method>
%s
<signal name="ActiveChanged"><arg type="b"/></signal>
</interface></node>"""
SESSION_IDLE_TIME = '<method name="GetSessionIdleTime"><arg type="u" direction="out"/></method>'

LOGIND_MANAGER = """<node><interface name="org.freedesktop.login1.Manager">
<method name="GetSession"><arg type="s"/><arg type="o" direction="out"/></method>
<method name="GetSessionByPID"><arg type="u"/><arg type="o" direction="out"/></method>
</interface></node>"""
LOGIND_SESSION = """<node><interface name="org.freedesktop.login1.Session">
<property name="LockedHint" type="b" access="read"/>
<signal name="Lock"/><signal name="Unlock"/>
</interface></node>"""
SESSION_PATH = "/org/freedesktop/login1/session/_31"

MUTTER_IDLE = """<node><interface name="org.gnome.Mutter.IdleMonitor">
<method name="GetIdletime"><arg type="t" direction="out"/></method>
<method name="AddIdleWatch"><arg type="t"/><arg type="u" direction="out"/></method>
<method name="AddUserActiveWatch"><arg type="u" direction="out"/></method>
<method name="RemoveWatch"><arg type="u"/></method>
<signal name="WatchFired"><arg type="u"/></signal>
</interface></node>"""

PORTAL = """<node><interface name="org.freedesktop.portal.GlobalShortcuts">
<property name="version" type="u" access="read"/>
<method name="CreateSession"><arg type="a{sv}"/><arg type="o" direction="out"/></method>
<method name="BindShortcuts"><arg type="o"/><arg type="a(sa{sv})"/><arg type="s"/><arg type="a{sv}"/>
  <arg type="o" direction="out"/></method>
<method name="ListShortcuts"><arg type="o"/><arg type="a{sv}"/><arg type="o" direction="out"/></method>
<signal name="Activated"><arg type="o"/><arg type="s"/><arg type="t"/><arg type="a{sv}"/></signal>
</interface></node>"""
PORTAL_PATH = "/org/freedesktop/portal/desktop"
PORTAL_OTHER = """<node><interface name="org.freedesktop.portal.Settings">
<method name="ReadAll"><arg type="as"/><arg type="a{sa{sv}}" direction="out"/></method>
</interface></node>"""

CONTROL = """<node><interface name="studio.murv.VeltoTest">
<method name="Calls"><arg type="as" direction="out"/></method>
<method name="SetInhibitAnswer"><arg type="s" name="answer_error_or_silent"/></method>
<method name="SetIdleTime"><arg type="x" name="milliseconds"/></method>
<method name="FireIdleWatches"/>
<method name="FireUserActive"/>
<method name="EmitActiveChanged"><arg type="s" name="service"/><arg type="b"/></method>
<method name="EmitLock"/><method name="EmitUnlock"/>
<method name="SetLockedHint"><arg type="b"/></method>
<method name="InvokeAction"><arg type="u"/><arg type="s"/></method>
<method name="CloseNotification"><arg type="u"/></method>
<method name="Activate"><arg type="s"/></method>
</interface></node>"""


class StandIn:
    def __init__(self, options):
        self.options = options
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        self.calls = []
        self.inhibit_answer = "answer"
        self.silent = []  # calls left without an answer on purpose
        self.next_id = 0
        self.idle_ms = 0
        self.idle_watches = {}  # id -> (owner, interval)
        self.active_watches = {}  # id -> owner
        self.locked_hint = False
        self.bound = []  # shortcut ids the portal keeps, across sessions
        self.sessions = []

    def new_id(self):
        self.next_id += 1
        return self.next_id

    def export(self, path, xml, on_call, on_get=None):
        info = Gio.DBusNodeInfo.new_for_xml(xml).interfaces[0]
        self.bus.register_object(path, info, on_call, on_get, None)

    def own(self, name):
        self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                           "RequestName", GLib.Variant("(su)", (name, 4)), None, Gio.DBusCallFlags.NONE, -1, None)

    def emit(self, path, interface, name, signature=None, values=None, destination=None):
        params = GLib.Variant(signature, values) if signature else None
        self.bus.emit_signal(destination, path, interface, name, params)

    def start(self):
        o = self.options
        if o.notifications:
            self.export("/org/freedesktop/Notifications", NOTIFICATIONS % (INHIBIT if o.inhibit else ""),
                        self.on_notifications)
            self.own("org.freedesktop.Notifications")
        if o.screensaver:
            self.export("/org/freedesktop/ScreenSaver",
                        SCREENSAVER % ("org.freedesktop.ScreenSaver", SESSION_IDLE_TIME), self.on_screensaver)
            self.own("org.freedesktop.ScreenSaver")
        if o.gnome_screensaver:
            self.export("/org/gnome/ScreenSaver", SCREENSAVER % ("org.gnome.ScreenSaver", ""), self.on_screensaver)
            self.own("org.gnome.ScreenSaver")
        if o.logind:
            self.export("/org/freedesktop/login1", LOGIND_MANAGER, self.on_logind)
            self.export(SESSION_PATH, LOGIND_SESSION, None, self.on_session_property)
            self.own("org.freedesktop.login1")
        if o.mutter_idle:
            self.export("/org/gnome/Mutter/IdleMonitor/Core", MUTTER_IDLE, self.on_mutter)
            self.own("org.gnome.Mutter.IdleMonitor")
        if o.portal is not None:
            self.export(PORTAL_PATH, PORTAL if o.portal > 0 else PORTAL_OTHER, self.on_portal, self.on_portal_property)
            self.own("org.freedesktop.portal.Desktop")
        self.export("/", CONTROL, self.on_control)
        self.own("studio.murv.VeltoTest")

    def record(self, name, *args):
        self.calls.append(" ".join([name] + [str(a) for a in args]))

    # org.freedesktop.Notifications
    def on_notifications(self, bus, sender, path, interface, method, params, invocation):
        args = params.unpack()
        if method == "GetServerInformation":
            invocation.return_value(GLib.Variant("(ssss)", (self.options.notifications, "Velto tests", "1", "1.2")))
        elif method == "GetCapabilities":
            capabilities = ["body"] + (["actions"] if self.options.actions else [])
            invocation.return_value(GLib.Variant("(as)", (capabilities,)))
        elif method == "Notify":
            self.record("Notify", args[3], "|".join(args[5]))
            invocation.return_value(GLib.Variant("(u)", (self.new_id(),)))
        elif method == "Inhibit":
            self.record("Inhibit", args[0], args[1])
            if self.inhibit_answer == "error":
                invocation.return_dbus_error("org.freedesktop.DBus.Error.Failed", "Inhibition refused")
            elif self.inhibit_answer == "silent":
                self.silent.append(invocation)
            else:
                invocation.return_value(GLib.Variant("(u)", (self.new_id(),)))
        else:  # UnInhibit, CloseNotification
            self.record(method, *args)
            invocation.return_value(None)

    def on_screensaver(self, bus, sender, path, interface, method, params, invocation):
        if method == "GetActive":
            invocation.return_value(GLib.Variant("(b)", (False,)))
        else:  # GetSessionIdleTime: 'u' wraps what does not fit, as a broken server would send it
            self.record(method)
            invocation.return_value(GLib.Variant("(u)", (self.idle_ms & 0xFFFFFFFF,)))

    def on_logind(self, bus, sender, path, interface, method, params, invocation):
        self.record(method, *params.unpack())
        invocation.return_value(GLib.Variant("(o)", (SESSION_PATH,)))

    def on_session_property(self, bus, sender, path, interface, name):
        return GLib.Variant("b", self.locked_hint)

    def on_mutter(self, bus, sender, path, interface, method, params, invocation):
        args = params.unpack()
        self.record(method, *args)
        if method == "GetIdletime":
            invocation.return_value(GLib.Variant("(t)", (self.idle_ms & 0xFFFFFFFFFFFFFFFF,)))
        elif method == "AddIdleWatch":
            watch = self.new_id()
            self.idle_watches[watch] = (sender, args[0])
            invocation.return_value(GLib.Variant("(u)", (watch,)))
        elif method == "AddUserActiveWatch":
            watch = self.new_id()
            self.active_watches[watch] = sender
            invocation.return_value(GLib.Variant("(u)", (watch,)))
        else:  # RemoveWatch
            self.idle_watches.pop(args[0], None)
            self.active_watches.pop(args[0], None)
            invocation.return_value(None)

    def on_portal_property(self, bus, sender, path, interface, name):
        return GLib.Variant("u", self.options.portal)

    def on_portal(self, bus, sender, path, interface, method, params, invocation):
        args = params.unpack()
        options = args[-1]
        request = "%s/request/%s/%s" % (PORTAL_PATH, sender[1:].replace(".", "_"), options.get("handle_token", "t"))
        if method == "CreateSession":
            session = "%s/session/%s/%s" % (PORTAL_PATH, sender[1:].replace(".", "_"),
                                            options.get("session_handle_token", "s"))
            self.sessions.append(session)
            results = {"session_handle": GLib.Variant("s", session)}
        elif method == "ListShortcuts":
            results = {"shortcuts": GLib.Variant("a(sa{sv})", [(i, {}) for i in self.bound])}
        else:  # BindShortcuts
            for shortcut_id, properties in args[1]:
                if shortcut_id not in self.bound:
                    self.bound.append(shortcut_id)
                self.record("Describe", shortcut_id, properties.get("description"))
            results = {"shortcuts": GLib.Variant("a(sa{sv})", [(i, {}) for i in self.bound])}
        self.record(method, *args[:-1])
        # Answered before the call returns, as a quick portal does: the caller must listen already.
        self.emit(request, "org.freedesktop.portal.Request", "Response", "(ua{sv})", (0, results))
        invocation.return_value(GLib.Variant("(o)", (request,)))

    def on_control(self, bus, sender, path, interface, method, params, invocation):
        args = params.unpack()
        if method == "Calls":
            invocation.return_value(GLib.Variant("(as)", (self.calls,)))
            return
        if method == "SetInhibitAnswer":
            self.inhibit_answer = args[0]
        elif method == "SetIdleTime":
            self.idle_ms = args[0]
        elif method == "FireIdleWatches":
            for watch, (owner, interval) in self.idle_watches.items():
                self.emit("/org/gnome/Mutter/IdleMonitor/Core", "org.gnome.Mutter.IdleMonitor", "WatchFired", "(u)",
                          (watch,), owner)
        elif method == "FireUserActive":
            self.idle_ms = 0
            watches, self.active_watches = self.active_watches, {}
            for watch, owner in watches.items():
                self.emit("/org/gnome/Mutter/IdleMonitor/Core", "org.gnome.Mutter.IdleMonitor", "WatchFired", "(u)",
                          (watch,), owner)
        elif method == "EmitActiveChanged":
            service_path = "/" + args[0].replace(".", "/")
            self.emit(service_path, args[0], "ActiveChanged", "(b)", (args[1],))
        elif method in ("EmitLock", "EmitUnlock"):
            self.emit(SESSION_PATH, "org.freedesktop.login1.Session", method[4:])
        elif method == "SetLockedHint":
            self.locked_hint = args[0]
            self.emit(SESSION_PATH, "org.freedesktop.DBus.Properties", "PropertiesChanged", "(sa{sv}as)",
                      ("org.freedesktop.login1.Session", {"LockedHint": GLib.Variant("b", args[0])}, []))
        elif method == "InvokeAction":
            self.emit("/org/freedesktop/Notifications", "org.freedesktop.Notifications", "ActionInvoked", "(us)",
                      tuple(args))
            self.emit("/org/freedesktop/Notifications", "org.freedesktop.Notifications", "NotificationClosed",
                      "(uu)", (args[0], 2))
        elif method == "CloseNotification":
            self.emit("/org/freedesktop/Notifications", "org.freedesktop.Notifications", "NotificationClosed",
                      "(uu)", (args[0], 2))
        elif method == "Activate":
            for session in self.sessions:
                self.emit(PORTAL_PATH, "org.freedesktop.portal.GlobalShortcuts", "Activated", "(osta{sv})",
                          (session, args[0], 0, {}))
        invocation.return_value(None)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--notifications", metavar="NAME")
    parser.add_argument("--inhibit", action="store_true")
    parser.add_argument("--actions", action="store_true")
    parser.add_argument("--screensaver", action="store_true")
    parser.add_argument("--gnome-screensaver", action="store_true")
    parser.add_argument("--logind", action="store_true")
    parser.add_argument("--mutter-idle", action="store_true")
    parser.add_argument("--portal", type=int, metavar="VERSION")
    standin = StandIn(parser.parse_args())
    standin.start()
    GLib.MainLoop().run()


if __name__ == "__main__":
    sys.exit(main())
