#include "shell/history/ImageStore.h"

#include <new>

#include "foundation/Timestamp.h"
#include "image/PixelFormat.h"

namespace {

// A document image that tells its store when it cannot get its pixels, so
// the history can tell a failed step as a memory failure.
class StoreImage : public DocumentDib
{
public:
    explicit StoreImage(ImageStore& store) : store_(store) {}

    bool create(int width, int height, int format) override
    {
        uint32_t stride = 0;
        const int bytesPerPixel = bytesPerPixelFor(format);
        const bool sizeValid =
            bytesPerPixel > 0 && OwnedBitmap::checkedStride(width, height, bytesPerPixel, stride);
        if (sizeValid && store_.pixelLimit() != 0) {
            const uint64_t own = isEmpty() ? 0 : uint64_t(this->stride()) * uint64_t(this->height());
            const uint64_t wanted = uint64_t(stride) * uint64_t(height);
            if (store_.pixelBytes() - own + wanted > store_.pixelLimit()) {
                DocumentDib::create(0, 0, format); // drops the old pixels, as a failed create does
                store_.noteAllocationFailure();
                return false;
            }
        }
        if (DocumentDib::create(width, height, format))
            return true;
        if (sizeValid)
            store_.noteAllocationFailure();
        return false;
    }

private:
    ImageStore& store_;
};

} // namespace

ImageStore::ImageStore() : serial_(0), pixelLimit_(0), allocationFailed_(false)
{
}

ImageStore::~ImageStore()
{
    for (auto& entry : images_)
        delete entry.second;
    images_.clear();
}

std::unique_ptr<DocumentDib> ImageStore::create(int width, int height, int format)
{
    std::unique_ptr<DocumentDib> image(new (std::nothrow) StoreImage(*this));
    if (!image) {
        allocationFailed_ = true;
        return nullptr;
    }
    image->create(width, height, format);
    return image;
}

String ImageStore::add(std::unique_ptr<DocumentDib> image)
{
    // The serial keeps names unique among live images even when two are
    // made within one clock tick.
    String name = String::fromFormat("image_%08x_", unsigned(++serial_));
    name += Timestamp::now().toString(Timestamp::kAll);
    put(name, std::move(image));
    return name;
}

void ImageStore::put(const String& name, std::unique_ptr<DocumentDib> image)
{
    auto it = images_.find(name);
    if (it != images_.end()) {
        if (it->second != image.get())
            delete it->second;
        it->second = image.release();
        return;
    }
    // A failed insert leaves the image to `image`, which releases it.
    images_.emplace(name, image.get());
    image.release();
}

DocumentDib* ImageStore::find(const String& name) const
{
    auto it = images_.find(name);
    return it == images_.end() ? nullptr : it->second;
}

bool ImageStore::erase(const String& name)
{
    auto it = images_.find(name);
    if (it == images_.end())
        return false;
    delete it->second;
    images_.erase(it);
    return true;
}

uint64_t ImageStore::pixelBytes() const
{
    uint64_t total = 0;
    for (const auto& entry : images_)
        if (!entry.second->isEmpty())
            total += uint64_t(entry.second->stride()) * uint64_t(entry.second->height());
    return total;
}
