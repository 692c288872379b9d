// page.h: what the web page's build changes in the desktop's code (page.cpp).
#pragma once

#include <SDL_video.h>

// Reads a bitmap as charger_image() does in rendu.cpp, with the browser's SDL: pure green
// becomes transparent when asked.
SDL_Surface *charger_image_page(const char *nom, bool cle_verte);
