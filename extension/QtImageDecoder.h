#pragma once

#include "ConvertModule.h"

namespace pallstone {

// Qt's image readers for the formats libvips reads only through loaders it does not trust (BMP,
// ICO, WBMP), lent to the conversion module: the program has Qt Gui loaded, the module need not.
class QtImageDecoder final
{
public:
    // An icon file holds several sizes: its largest image is given.
    static DecodedImage decode(const QString& path, qint64 maxPixels);

private:
    QtImageDecoder() = delete;
};

} // namespace pallstone
