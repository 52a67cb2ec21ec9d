#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "foundation/String.h"
#include "shell/document/DocumentDib.h"

// The named images of one document: a factory of document images and a
// registry that owns them by name. Lookups report a miss as null, never by
// throwing: the callers run inside window procedures.
class ImageStore
{
public:
    ImageStore();
    ~ImageStore();
    ImageStore(const ImageStore&) = delete;
    ImageStore& operator=(const ImageStore&) = delete;

    // A new document image, not yet registered; null when even its object
    // cannot be allocated. A failed create on it is recorded (see below).
    std::unique_ptr<DocumentDib> create(int width, int height, int format);

    // Registers the image under a fresh snapshot name ("image_%08x_" and the
    // creation time) and returns the name. The store owns the image from the
    // call on: when the name or the entry cannot be made, the image is
    // released and the exception goes on to the caller.
    String add(std::unique_ptr<DocumentDib> image);
    // Registers under the name, with the ownership of add; an image already
    // there is released.
    void put(const String& name, std::unique_ptr<DocumentDib> image);
    DocumentDib* find(const String& name) const;
    // Releases the image and erases the entry; false when the name is unknown.
    bool erase(const String& name);

    size_t size() const { return images_.size(); }
    // Pixel bytes of every registered image.
    uint64_t pixelBytes() const;

    // Images of this store refuse to grow the registered pixel bytes beyond
    // the limit (0: no limit), as if the allocation had failed. Lets tests
    // run out of memory on purpose.
    void setPixelLimit(uint64_t bytes) { pixelLimit_ = bytes; }
    uint64_t pixelLimit() const { return pixelLimit_; }

    // Set when an image of this store could not get the pixels it asked for.
    bool allocationFailed() const { return allocationFailed_; }
    void noteAllocationFailure() { allocationFailed_ = true; }
    void clearAllocationFailure() { allocationFailed_ = false; }

private:
    std::map<String, DocumentDib*> images_;
    uint32_t serial_;
    uint64_t pixelLimit_;
    bool allocationFailed_;
};
