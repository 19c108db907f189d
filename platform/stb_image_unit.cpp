// The one translation unit that holds stb_image's code: PNG and TGA from memory only.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_TGA
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include "stb_image.h"
