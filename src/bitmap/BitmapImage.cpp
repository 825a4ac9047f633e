#include "bitmap/BitmapImage.h"

#include <new>
#include <stddef.h>
#include <string.h>

namespace {

const DWORD FILE_HEADER_SIZE = 14;
const DWORD INFO_HEADER_SIZE = 40;
const WORD BITMAP_SIGNATURE = 0x4D42; // "BM"

// The headers are copied to and from files as these structures, in either program.
static_assert(sizeof(BITMAPFILEHEADER) == FILE_HEADER_SIZE &&
                  offsetof(BITMAPFILEHEADER, bfOffBits) == 10,
              "the file header as it lies on disk");
static_assert(sizeof(BITMAPINFOHEADER) == INFO_HEADER_SIZE && sizeof(RGBQUAD) == 4,
              "the info header and colour table entries as they lie on disk");

unsigned long long Magnitude(LONG value)
{
    return value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                     : static_cast<unsigned long long>(value);
}

// biClrUsed, or the whole table of the depth when it is 0; true-colour images have none.
unsigned long long ColourCount(int depth, DWORD used)
{
    if (depth >= 16)
        return 0;
    return used ? used : 1ULL << depth;
}

BYTE* CopyOf(const BYTE* bytes, DWORD size)
{
    BYTE* copy = new (std::nothrow) BYTE[size ? size : 1];
    if (copy)
        memcpy(copy, bytes, size);
    return copy;
}

} // namespace

CBitmapImage::CBitmapImage()
    : m_pHeader(nullptr), m_nHeaderSize(0), m_pPixels(nullptr), m_nPixelSize(0)
{
}

CBitmapImage::~CBitmapImage()
{
    delete[] m_pHeader;
    delete[] m_pPixels;
}

BITMAPINFOHEADER CBitmapImage::Info() const
{
    BITMAPINFOHEADER info = {};
    if (m_pHeader)
        memcpy(&info, m_pHeader, m_nHeaderSize < sizeof(info) ? m_nHeaderSize : sizeof(info));
    return info;
}

void CBitmapImage::Replace(BYTE* header, DWORD headerSize, BYTE* pixels, DWORD pixelSize)
{
    delete[] m_pHeader;
    delete[] m_pPixels;
    m_pHeader = header;
    m_nHeaderSize = headerSize;
    m_pPixels = pixels;
    m_nPixelSize = pixelSize;
}

unsigned long long PaddedRowSize(int depth, unsigned long long width)
{
    return (static_cast<unsigned long long>(depth) * width + 31) / 32 * 4;
}

int MeasureBitmap(const BITMAPINFOHEADER& info, unsigned long long headerBytes,
                  unsigned long long pixelBytes, CBitmapLayout* layout, const char** reason)
{
    int depth = info.biBitCount;
    if (info.biSize < INFO_HEADER_SIZE) {
        *reason = "its information header is shorter than 40 bytes";
        return 0;
    }
    // Bit fields and every compressed form are laid out otherwise than plain rows.
    if (info.biCompression != BI_RGB) {
        *reason = "its pixels are compressed or stored as bit fields";
        return 0;
    }
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) {
        *reason = "its colour depth is not 1, 4, 8, 16, 24 or 32 bits";
        return 0;
    }
    unsigned long long colours = ColourCount(depth, info.biClrUsed);
    if (colours > 256 || colours > 1ULL << depth) {
        *reason = "its colour table holds more colours than its depth allows";
        return 0;
    }
    if (info.biSize + 4 * colours > headerBytes) {
        *reason = "its headers and colour table run past the start of its pixels";
        return 0;
    }
    unsigned long long width = Magnitude(info.biWidth);
    unsigned long long height = Magnitude(info.biHeight);
    unsigned long long row = PaddedRowSize(depth, width);
    // Divided rather than multiplied: a wild width times a wild height can wrap even here.
    if (row && height > pixelBytes / row) {
        *reason = "it holds fewer pixel bytes than its rows need";
        return 0;
    }
    layout->depth = depth;
    layout->colours = colours;
    layout->tableOffset = info.biSize;
    layout->width = width;
    layout->height = height;
    layout->rowSize = row;
    return 1;
}

int ReadBitmap(const BYTE* data, DWORD size, CBitmapImage* image, const char** reason)
{
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    if (size < FILE_HEADER_SIZE + INFO_HEADER_SIZE) {
        *reason = "it is shorter than the headers of a bitmap file";
        return 0;
    }
    memcpy(&file, data, FILE_HEADER_SIZE);
    memcpy(&info, data + FILE_HEADER_SIZE, INFO_HEADER_SIZE);
    if (file.bfType != BITMAP_SIGNATURE) {
        *reason = "it does not begin with the letters BM of a bitmap file";
        return 0;
    }
    if (file.bfOffBits > size || file.bfOffBits < FILE_HEADER_SIZE + INFO_HEADER_SIZE) {
        *reason = "its pixel offset lies outside the file or inside its headers";
        return 0;
    }
    CBitmapLayout layout;
    if (!MeasureBitmap(info, file.bfOffBits - FILE_HEADER_SIZE, size - file.bfOffBits, &layout,
                       reason))
        return 0;
    DWORD headerSize = static_cast<DWORD>(layout.tableOffset + 4 * layout.colours);
    BYTE* header = CopyOf(data + FILE_HEADER_SIZE, headerSize);
    BYTE* pixels = header ? CopyOf(data + file.bfOffBits, size - file.bfOffBits) : nullptr;
    if (!pixels) {
        delete[] header;
        *reason = "there is not enough memory to hold it";
        return 0;
    }
    image->Replace(header, headerSize, pixels, size - file.bfOffBits);
    return 1;
}
