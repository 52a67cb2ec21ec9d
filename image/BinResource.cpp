#include "image/BinResource.h"

#include "foundation/Exception.h"
#include "foundation/FixedBufferReader.h"
#include "image/codecs/ImageLoading.h"

BinResource::BinResource() : resource_(nullptr)
{
}

BinResource::~BinResource()
{
    release();
}

void BinResource::release()
{
    if (resource_) {
        FreeResource(resource_);
        resource_ = nullptr;
    }
}

bool BinResource::loadImage(Image& image, unsigned int id, int imageType, HMODULE module)
{
    release();
    if (!module)
        module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id & 0xFFFF), "bin");
    if (!found)
        throw Exception(kResourceException);
    resource_ = LoadResource(module, found);
    if (!resource_)
        throw Exception(kResourceException);
    const DWORD size = SizeofResource(module, found);
    const void* data = LockResource(resource_);
    bool ok = false;
    if (data && size > 0) {
        FixedBufferReader reader(data, size);
        ok = loadImageOfType(reader, image, imageType);
    }
    release();
    return ok;
}
