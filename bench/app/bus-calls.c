/* Makes COUNT blocking calls to Velto's timer on the session bus: Toggle, Start(focus) and
 * Pause in turn, each waiting for its reply, and prints how long they took.
 *   bus-calls COUNT */
#include <dbus/dbus.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: bus-calls COUNT\n");
        return 2;
    }
    const long count = atol(argv[1]);
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_bus_get(DBUS_BUS_SESSION, &error);
    if (!bus) {
        fprintf(stderr, "bus-calls: %s\n", error.message);
        return 1;
    }
    static const char* const methods[] = { "Toggle", "Start", "Pause" };
    const double start = now_ms();
    for (long i = 0; i < count; ++i) {
        const char* method = methods[i % 3];
        DBusMessage* call = dbus_message_new_method_call(
            "studio.murv.Velto", "/studio/murv/Velto", "studio.murv.Velto.Timer", method);
        if (i % 3 == 1) {
            const dbus_bool_t isBreak = FALSE;
            dbus_message_append_args(call, DBUS_TYPE_BOOLEAN, &isBreak, DBUS_TYPE_INVALID);
        }
        DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, 10000, &error);
        dbus_message_unref(call);
        if (!reply) {
            fprintf(stderr, "bus-calls: %s failed: %s\n", method, error.message);
            return 1;
        }
        dbus_message_unref(reply);
    }
    printf("%ld calls in %.0f ms\n", count, now_ms() - start);
    dbus_connection_unref(bus);
    return 0;
}
