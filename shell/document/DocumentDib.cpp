#include "shell/document/DocumentDib.h"

DocumentDib::DocumentDib(int width, int height, int format)
{
    DocumentDib::create(width, height, format);
}

bool DocumentDib::create(int width, int height, int format)
{
    return DibImage::create(width, height, format);
}

void DocumentDib::afterAllocation()
{
    updateHeader();
}

bool DocumentDib::updateHeader()
{
    return updateBitmapInfo();
}

bool DrawDib(const DocumentDib& image, HDC dc, const RECT& source, const RECT& destination)
{
    return image.draw(dc, source, destination);
}
