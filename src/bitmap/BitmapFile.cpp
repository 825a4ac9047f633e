#include "bitmap/BitmapFile.h"

#include <new>

#include "base/FailureSeam.h"
#include "bitmap/BitmapImage.h"
#include "bitmap/BitmapMessages.h"

static const char CREATE_FAILED[] = "File creation failed";
static const char WRITE_FAILED[] = "Failure occurred when writing to a file";
// Whole files are held in memory, twice for a moment: a 32-bit process has no room for more.
static const LONGLONG MAX_FILE_SIZE = 0x3FFFFFFF;

// The whole file, or null with the user told why.
static BYTE* ReadWholeFile(HWND owner, const char* path, HANDLE file, DWORD* size)
{
    LARGE_INTEGER length;
    if (!SeamGetFileSizeEx(file, &length)) {
        TellBitmapRefused(owner, path, "it could not be read");
        return nullptr;
    }
    if (length.QuadPart > MAX_FILE_SIZE) {
        TellBitmapRefused(owner, path, "it is larger than 1 GB");
        return nullptr;
    }
    *size = static_cast<DWORD>(length.QuadPart);
    BYTE* bytes = new (std::nothrow) BYTE[*size ? *size : 1];
    if (!bytes) {
        TellBitmapRefused(owner, path, "there is not enough memory to hold it");
        return nullptr;
    }
    DWORD read = 0;
    if (!SeamReadFile(file, bytes, *size, &read) || read != *size) {
        delete[] bytes;
        TellBitmapRefused(owner, path, "it could not be read");
        return nullptr;
    }
    return bytes;
}

int LoadBitmapFile(HWND owner, const char* path, CBitmapImage* image)
{
    HANDLE file = SeamCreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) {
        TellBitmapFailure(owner, CREATE_FAILED);
        return 0;
    }
    DWORD size = 0;
    BYTE* bytes = ReadWholeFile(owner, path, file, &size);
    CloseHandle(file);
    if (!bytes)
        return 0;
    const char* reason = nullptr;
    int read = ReadBitmap(bytes, size, image, &reason);
    delete[] bytes;
    if (!read)
        TellBitmapRefused(owner, path, reason);
    return read;
}

int SaveBitmapFile(HWND owner, const char* path, const CBitmapImage& image)
{
    BITMAPINFOHEADER info = image.Info();
    CBitmapLayout layout;
    const char* reason = nullptr;
    if (!MeasureBitmap(info, image.m_nHeaderSize, image.m_nPixelSize, &layout, &reason)) {
        TellBitmapRefused(owner, path, reason);
        return 0;
    }
    DWORD tableSize = static_cast<DWORD>(4 * layout.colours);
    DWORD pixelSize = static_cast<DWORD>(layout.rowSize * layout.height);
    BITMAPFILEHEADER header = {};
    header.bfType = 0x4D42; // "BM"
    header.bfOffBits = sizeof(header) + sizeof(info) + tableSize;
    header.bfSize = header.bfOffBits + pixelSize;
    // A longer header's fields past the first 40 bytes are not carried over, so the file
    // says what it holds: a plain header with the colour table straight after it.
    info.biSize = sizeof(info);

    HANDLE file = SeamCreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) {
        TellBitmapFailure(owner, CREATE_FAILED);
        return 0;
    }
    const struct {
        const void* bytes;
        DWORD size;
    } parts[] = {{&header, sizeof(header)},
                 {&info, sizeof(info)},
                 {image.m_pHeader + layout.tableOffset, tableSize},
                 {image.m_pPixels, pixelSize}};
    BOOL ok = TRUE;
    for (const auto& part : parts) {
        DWORD written = 0;
        ok = SeamWriteFile(file, part.bytes, part.size, &written);
        if (ok && written != part.size) {
            ok = FALSE;
            SetLastError(ERROR_DISK_FULL);
        }
        if (!ok)
            break;
    }
    if (!SeamCloseHandle(file) && ok)
        ok = FALSE;
    if (!ok) {
        DWORD error = GetLastError();
        // Half a bitmap is no use to anyone.
        DeleteFileA(path);
        SetLastError(error);
        TellBitmapFailure(owner, WRITE_FAILED);
    }
    return ok ? 1 : 0;
}
