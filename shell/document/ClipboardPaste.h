#pragma once

class Image;

// Reads the clipboard's CF_DIB into the image, a grey DIB widened to B,G,R
// as documents hold it. False when the clipboard cannot be opened, holds no
// DIB or the DIB cannot be read.
bool pasteClipboardDib(Image& destination);
