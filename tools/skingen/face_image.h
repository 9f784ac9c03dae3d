// The main window's face.bmp and the shapes of its two faces.
#pragma once

#include "canvas.h"

inline constexpr int kFaceImageWidth = 515, kFaceImageHeight = 400;

void draw_face_image(Canvas& c);
// The window shape: black inside, white outside, with rounded corners.
void draw_face_mask(Canvas& c, int width, int height);
