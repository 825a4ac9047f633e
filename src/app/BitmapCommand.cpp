#include "app/BitmapCommand.h"

#include "bitmap/BitmapFile.h"
#include "bitmap/BitmapImage.h"
#include "bitmap/ColourReduction.h"
#include "dialogs/BitmapDialogs.h"

void ConvertBitmapFile(HWND mainWindow)
{
    char path[256];
    CBitmapImage image;
    if (!ChooseBitmapToLoad(mainWindow, path, sizeof(path)) ||
        !LoadBitmapFile(mainWindow, path, &image))
        return;
    ReduceColours(&image);
    if (ChooseBitmapToSave(mainWindow, path, sizeof(path)))
        SaveBitmapFile(mainWindow, path, image);
}
