#pragma once
// Xlib and the extensions this backend uses, for the files of this folder only. Include
// it after every header of the seam: Xlib's macro None would turn WindowHandle::None into
// nonsense, so it is dropped here and X's own "no resource" is spelled XNone.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/Xcursor/Xcursor.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>

inline constexpr unsigned long XNone = None;
#undef None
