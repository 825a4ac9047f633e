#pragma once

class CBitmapImage;

// Turns a bottom-up true-colour image (16, 24 or 32 bits) of at most 256 distinct pixel
// values into a palette image of 4 bits (up to 16 values) or 8 bits, the table in the order
// the values first occur from the bottom-left pixel on. 1 when the image was reduced; any
// other image, and one for which memory is short, is left as it is.
int ReduceColours(CBitmapImage* image);
