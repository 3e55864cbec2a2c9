#pragma once

#include "ConvertModule.h"

namespace pallstone {

// What a "Convert to" job does with its items, on the job's thread: images to another format,
// icon sets, PDF pages to images, or the items merged into one PDF. The entry of the conversion
// module.
class ConvertWork final
{
public:
    static void run(const ConvertRequest& request);

private:
    ConvertWork() = delete;
};

} // namespace pallstone
