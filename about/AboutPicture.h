#pragma once

#include <span>

// The about box's picture (resources/About.jpg), carried inside the program as its window
// layout carries it: the JPEG bytes, generated into the build by EmbedFile.cmake.
std::span<const unsigned char> AboutPicture();
