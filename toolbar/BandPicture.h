#pragma once
// The toolbar's pictures: "GIF" resources "#<number>" compiled into this
// library, read into images.

#include <optional>

#include <wx/image.h>

std::optional<wxImage> LoadBandPicture(int number);
