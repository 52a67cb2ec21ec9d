#include "image/PixelFormat.h"

namespace {

const uint8_t kGreyLayout[] = {0, 0, 0, 0xFF};
const uint8_t kBgrLayout[] = {2, 1, 0, 0xFF};
const uint8_t kRgbLayout[] = {0, 1, 2, 0xFF};
const uint8_t kBgraLayout[] = {2, 1, 0, 3, 0xFF};
const uint8_t kRgbaLayout[] = {0, 1, 2, 3, 0xFF};
const uint8_t kBgrxaLayout[] = {2, 1, 0, 4, 3, 0xFF};
const uint8_t kRgbxaLayout[] = {0, 1, 2, 4, 3, 0xFF};
const uint8_t kNoLayout[] = {0xFF};

} // namespace

int bytesPerPixelFor(int format)
{
    switch (format) {
    case kFormatGrey: return 1;
    case kFormatBgr:
    case kFormatRgb: return 3;
    case kFormatBgra:
    case kFormatRgba: return 4;
    case kFormatBgrxa:
    case kFormatRgbxa: return 5;
    default: return 0;
    }
}

const uint8_t* channelLayoutFor(int format)
{
    switch (format) {
    case kFormatGrey: return kGreyLayout;
    case kFormatBgr: return kBgrLayout;
    case kFormatRgb: return kRgbLayout;
    case kFormatBgra: return kBgraLayout;
    case kFormatRgba: return kRgbaLayout;
    case kFormatBgrxa: return kBgrxaLayout;
    case kFormatRgbxa: return kRgbxaLayout;
    default: return kNoLayout;
    }
}
