// The one translation unit that compiles stb_image's decoder for the whole game.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
