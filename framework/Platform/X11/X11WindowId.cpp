// Making a window under an id of our choice. Xlib takes a new window's id from the
// connection's allocator; the id of a window this connection made and destroyed is free
// again in the server, so for one call the allocator hands that id back. The connection
// stays locked meanwhile, so no other thread's request takes it.
//
// Xlib's internal header defines macros that break the standard C++ headers, so this file
// includes nothing else; the declaration is in X11Desktop.h.
#include <X11/Xlib.h>
#include <X11/Xlibint.h>

namespace Arbor::Platform::X11 {

namespace {

thread_local XID reusedId = 0;

XID giveReusedId(Display*) { return reusedId; }

}  // namespace

Window createWindowWithId(Display* display, XID id, Window parent, int x, int y, unsigned width, unsigned height,
                          int depth, Visual* visual, unsigned long mask, XSetWindowAttributes* attributes) {
    XLockDisplay(display);
    auto* connection = reinterpret_cast<_XDisplay*>(display);
    XID (*const allocator)(_XDisplay*) = connection->resource_alloc;
    reusedId = id;
    connection->resource_alloc = &giveReusedId;
    const Window made =
        XCreateWindow(display, parent, x, y, width, height, 0, depth, InputOutput, visual, mask, attributes);
    connection->resource_alloc = allocator;
    XUnlockDisplay(display);
    return made;
}

}  // namespace Arbor::Platform::X11
