#pragma once
#include <windows.h>

// A bitmap file held in memory: its header block (the info header with its colour table,
// as the file holds them) and its pixel block (the rows as stored, from the pixel offset).
// Loading makes the blocks hold at least what their header says; reduction and saving
// check it again, so that no header changed since can make them read past a block.
class CBitmapImage {
public:
    CBitmapImage();
    virtual ~CBitmapImage();

    // The info header's first 40 bytes, the part this editor reads.
    BITMAPINFOHEADER Info() const;
    // Takes over new blocks made with new[] and frees the old ones.
    void Replace(BYTE* header, DWORD headerSize, BYTE* pixels, DWORD pixelSize);

    BYTE* m_pHeader;
    DWORD m_nHeaderSize;
    BYTE* m_pPixels;
    DWORD m_nPixelSize;

private:
    CBitmapImage(const CBitmapImage&);
    CBitmapImage& operator=(const CBitmapImage&);
};

// What an info header implies for the blocks that hold it, each size in 64-bit arithmetic
// so that no field can wrap it.
struct CBitmapLayout {
    int depth;
    unsigned long long colours;   // colour table entries
    unsigned long long tableOffset; // of the colour table in the header block: biSize
    unsigned long long width;     // |biWidth|
    unsigned long long height;    // |biHeight|
    unsigned long long rowSize;   // padded to four bytes
};

// Padded row size for a depth and width: whole bytes, rounded up to a multiple of four.
unsigned long long PaddedRowSize(int depth, unsigned long long width);

// Checks an info header against the bytes there are for it with its colour table and for
// its pixel rows. 0 with the reason (a phrase that follows "because ") when they do not fit
// or the header asks for what this editor does not read.
int MeasureBitmap(const BITMAPINFOHEADER& info, unsigned long long headerBytes,
                  unsigned long long pixelBytes, CBitmapLayout* layout, const char** reason);

// Copies the blocks out of a whole bitmap file in memory after checking that the file
// holds all they need. 0 with the reason when it does not, or when memory is short.
int ReadBitmap(const BYTE* data, DWORD size, CBitmapImage* image, const char** reason);
