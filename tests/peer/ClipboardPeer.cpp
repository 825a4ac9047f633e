// Another program on the clipboard, for the round-trip tests:
//   clipboard_peer put FILE   puts the file's bytes as CF_TEXT, in a block of exactly their size
//   clipboard_peer get FILE   writes the clipboard's CF_TEXT up to its first NUL to the file
// Exit code 0 on success.
#include <windows.h>

#include <string.h>

#include "support/ClipboardBytes.h"
#include "support/TestFiles.h"

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    if (!strcmp(argv[1], "put"))
        return PutClipboardBytes(ReadBytes(argv[2])) ? 0 : 1;
    if (!strcmp(argv[1], "get")) {
        std::string text;
        if (!ReadClipboardBytes(&text))
            return 1;
        WriteBytes(argv[2], text);
        return 0;
    }
    return 2;
}
