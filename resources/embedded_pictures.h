#pragma once

#include <QtGlobal>

namespace look::pictures {

// A picture decoded at build time (embed_pictures): rows of 32-bit pixels, premultiplied ARGB
// where the picture has transparent parts, opaque RGB otherwise.
struct EmbeddedPicture {
    int width;
    int height;
    bool alpha;
    const quint32* pixels;
};

extern const EmbeddedPicture applicationIcon;
extern const EmbeddedPicture handPointer;
extern const EmbeddedPicture recordBadge;
extern const EmbeddedPicture vendorLogo;

} // namespace look::pictures
