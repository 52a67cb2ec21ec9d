#include "shell/history/ImageFileAccess.h"

#include "image/OwnedBitmap.h"
#include "image/codecs/ImageLoading.h"

bool loadDocumentImage(const String& path, OwnedBitmap& image)
{
    return loadImageFile(path, image, String());
}

bool saveDocumentImage(const String&, const Image&)
{
    return false;
}
