// dessins.h: frees what start-up created, so that tests and measures can start again.
#pragma once

// Frees every tile and image and closes the font; the program itself keeps them to the end.
void liberer_dessins();

// Frees every tile and image, the font left as it is.
void liberer_surfaces();
