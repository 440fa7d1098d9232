/* Tells when a window of a program is first mapped, from the X server's own events instead of
 * polling: watches every window made on the display and prints the wall-clock time in
 * milliseconds at which the first one whose WM_CLASS instance is the given name got mapped
 * (the tray icon is reparented into the tray before it is mapped, so its map event is taken
 * from the window itself). Prints "ready" once it listens, so the program can be started.
 * Built and run by bench/status_measure.sh; not part of the program.
 *
 *   status_map_watch INSTANCE TIMEOUT_MS */
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <xcb/xcb.h>

static long long now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return (long long)t.tv_sec * 1000 + t.tv_nsec / 1000000;
}

static int instance_is(xcb_connection_t* c, xcb_window_t w, const char* name) {
  xcb_get_property_reply_t* r = xcb_get_property_reply(
      c, xcb_get_property(c, 0, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256), NULL);
  int same = 0;
  if (r) {
    const int len = xcb_get_property_value_length(r);
    const char* value = xcb_get_property_value(r);
    same = len > 0 && strnlen(value, (size_t)len) == strlen(name) &&
           strncmp(value, name, (size_t)len) == 0;
    free(r);
  }
  return same;
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const char* name = argv[1];
  const long long deadline = now_ms() + atoll(argv[2]);
  xcb_connection_t* c = xcb_connect(NULL, NULL);
  if (xcb_connection_has_error(c)) return 2;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  const uint32_t sub = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &sub));
  printf("ready\n");
  fflush(stdout);
  struct pollfd p = {xcb_get_file_descriptor(c), POLLIN, 0};
  for (;;) {
    xcb_generic_event_t* e;
    while ((e = xcb_poll_for_event(c))) {
      const long long at = now_ms();
      const uint8_t type = e->response_type & 0x7f;
      if (type == XCB_CREATE_NOTIFY) {
        /* Its own map events, wherever it is reparented to. */
        const uint32_t own = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(c, ((xcb_create_notify_event_t*)e)->window,
                                     XCB_CW_EVENT_MASK, &own);
        xcb_flush(c);
      } else if (type == XCB_MAP_NOTIFY) {
        const xcb_map_notify_event_t* m = (xcb_map_notify_event_t*)e;
        if (instance_is(c, m->window, name)) {
          printf("%lld\n", at);
          return 0;
        }
      }
      free(e);
    }
    if (xcb_connection_has_error(c)) return 1;
    const long long left = deadline - now_ms();
    if (left <= 0) return 1;
    poll(&p, 1, (int)left);
  }
}
