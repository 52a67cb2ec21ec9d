#pragma once

#include "foundation/String.h"

class OwnedBitmap;
class Image;

// The document's file access by type: load and save through the shell's
// files-by-type layer.
bool loadDocumentImage(const String& path, OwnedBitmap& image);
bool saveDocumentImage(const String& path, const Image& image);
