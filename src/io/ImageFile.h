// Loading and writing image files and memory blocks through the process-wide registrar.
#pragma once

#include <string>
#include <vector>

#include "io/DataSource.h"
#include "io/DataTarget.h"
#include "io/ImageIoExc.h"
#include "io/ImageSource.h"
#include "io/ImageTarget.h"

namespace loom {

// The decoded image; ImageIoFailedLoadExc with the reason when it cannot be read. The
// file's extension plays no part: every decoder is asked in priority order.
ImageSourceRef loadImage(const std::string& path, ImageSource::Options options = {});
ImageSourceRef loadImage(DataSourceRef dataSource, ImageSource::Options options = {});

// Writes source in the format of extension (default: the path's own). An extension without a
// writer raises ImageIoUnknownExtensionExc, and an image without pixels (a zero width or height)
// ImageIoExc, before anything is touched. The file is replaced
// only when the whole write succeeded; on failure an existing file stays as it was.
void writeImage(const std::string& path, ImageSourceRef source, ImageTarget::Options options = {},
                const std::string& extension = {});
void writeImage(DataTargetRef dataTarget, ImageSourceRef source, ImageTarget::Options options = {},
                const std::string& extension = {});

// The writable extensions (lower case, without the dot) in ascending byte order.
std::vector<std::string> getWriteExtensions();

}  // namespace loom
