#include "bitmap/ColourReduction.h"

#include <new>
#include <string.h>

#include "bitmap/BitmapImage.h"

namespace {

const int MAX_COLOURS = 256;
const int HASH_SLOTS = 1024; // a power of two, well above MAX_COLOURS

// The distinct pixel values in order of first appearance, with a hash to find them fast.
class CDistinctValues {
public:
    CDistinctValues() : m_nCount(0) { memset(m_slots, 0, sizeof(m_slots)); }

    // The index of a value, added when it is new; -1 when the table is full.
    int IndexOf(DWORD value)
    {
        unsigned slot = (value * 2654435761u) >> 22;
        for (;; slot = (slot + 1) & (HASH_SLOTS - 1)) {
            int entry = m_slots[slot];
            if (!entry)
                break;
            if (m_values[entry - 1] == value)
                return entry - 1;
        }
        if (m_nCount == MAX_COLOURS)
            return -1;
        m_values[m_nCount] = value;
        m_slots[slot] = static_cast<short>(++m_nCount);
        return m_nCount - 1;
    }

    DWORD m_values[MAX_COLOURS];
    int m_nCount;

private:
    short m_slots[HASH_SLOTS]; // index + 1 of the value held there, 0 when free
};

DWORD PixelAt(const BYTE* row, unsigned long long x, int bytes)
{
    const BYTE* p = row + x * bytes;
    DWORD value = 0;
    for (int i = bytes - 1; i >= 0; i--)
        value = value << 8 | p[i];
    return value;
}

// Five bits per channel, red highest; each channel's bits end up at the top of its byte.
RGBQUAD TableEntry(DWORD value, int depth)
{
    RGBQUAD entry = {};
    if (depth == 16) {
        entry.rgbBlue = static_cast<BYTE>(value << 3);
        entry.rgbGreen = static_cast<BYTE>((value >> 2) & 0xF8);
        entry.rgbRed = static_cast<BYTE>((value >> 7) & 0xF8);
    } else {
        entry.rgbBlue = static_cast<BYTE>(value);
        entry.rgbGreen = static_cast<BYTE>(value >> 8);
        entry.rgbRed = static_cast<BYTE>(value >> 16);
    }
    return entry;
}

} // namespace

int ReduceColours(CBitmapImage* image)
{
    BITMAPINFOHEADER info = image->Info();
    CBitmapLayout layout;
    const char* reason;
    if (!MeasureBitmap(info, image->m_nHeaderSize, image->m_nPixelSize, &layout, &reason))
        return 0;
    int depth = layout.depth;
    // A top-down image is saved as it came; an empty one has no colours to make a table of.
    if (depth < 16 || info.biHeight < 0 || !layout.width || !layout.height)
        return 0;
    unsigned long long width = layout.width;
    unsigned long long height = layout.height;
    unsigned long long sourceRow = layout.rowSize;
    int bytes = depth / 8;
    CDistinctValues* values = new (std::nothrow) CDistinctValues;
    if (!values)
        return 0;
    for (unsigned long long y = 0; y < height; y++) {
        const BYTE* row = image->m_pPixels + y * sourceRow;
        for (unsigned long long x = 0; x < width; x++) {
            if (values->IndexOf(PixelAt(row, x, bytes)) < 0) {
                delete values;
                return 0;
            }
        }
    }
    int count = values->m_nCount;
    int newDepth = count <= 16 ? 4 : 8;
    unsigned long long newRow = PaddedRowSize(newDepth, width);
    DWORD headerSize = sizeof(BITMAPINFOHEADER) + 4 * count;
    DWORD pixelSize = static_cast<DWORD>(newRow * height);
    BYTE* header = new (std::nothrow) BYTE[headerSize]();
    BYTE* pixels = header ? new (std::nothrow) BYTE[pixelSize ? pixelSize : 1]() : nullptr;
    if (!pixels) {
        delete[] header;
        delete values;
        return 0;
    }
    BITMAPINFOHEADER reduced = {};
    reduced.biSize = sizeof(reduced);
    reduced.biWidth = info.biWidth;
    reduced.biHeight = info.biHeight;
    reduced.biPlanes = 1;
    reduced.biBitCount = static_cast<WORD>(newDepth);
    reduced.biCompression = BI_RGB;
    reduced.biSizeImage = pixelSize;
    reduced.biClrUsed = count;
    reduced.biClrImportant = count;
    memcpy(header, &reduced, sizeof(reduced));
    for (int i = 0; i < count; i++) {
        RGBQUAD entry = TableEntry(values->m_values[i], depth);
        memcpy(header + sizeof(reduced) + 4 * i, &entry, sizeof(entry));
    }
    for (unsigned long long y = 0; y < height; y++) {
        const BYTE* row = image->m_pPixels + y * sourceRow;
        BYTE* target = pixels + y * newRow;
        for (unsigned long long x = 0; x < width; x++) {
            BYTE index = static_cast<BYTE>(values->IndexOf(PixelAt(row, x, bytes)));
            if (newDepth == 8)
                target[x] = index;
            else
                target[x / 2] |= x % 2 ? index : index << 4;
        }
    }
    delete values;
    image->Replace(header, headerSize, pixels, pixelSize);
    return 1;
}
