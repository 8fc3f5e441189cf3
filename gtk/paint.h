// paint.h: the sixteen square pictures and the paint of the main window's client area.
#pragma once

#include <cairo.h>

int load_pictures();
void release_pictures();
void paint_client(cairo_t* cr);
