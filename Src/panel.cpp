#include "panel.h"

Panel panel;

// The panel is not drawn yet: the panel's own work fills these in.
void load_panel(const char*) {}
void free_panel() {}
void draw_panel(SDL_Surface*, int, const Submarine&) {}
