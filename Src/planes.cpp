#include "planes.h"

PlaneType plane_types[PLANE_TYPE_CAPACITY];
int plane_type_last = -1;
int enemy_plane = 0;
Plane planes[PLANE_CAPACITY];

// Planes do not fly yet: the planes' own work fills these in.
void load_planes(const char*) {}
void free_planes() {}
void Plane::launch(int, int, int, int, SDL_Surface*) {}
void Plane::update(const Submarine&, SDL_Surface*) {}
void Plane::fire() {}
void Plane::draw(SDL_Surface*) {}
